#pragma once

#include "ui/window.h"

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace pagora::testing {

// A window that keeps its controls in memory, for driving the core without a
// toolkit. Thread-safe like the real one. Every write is also logged in order,
// so a test can check the sequence a worker produced (label 1, 2, 3 ...).
class MemoryWindow final : public Window {
public:
    struct Write {
        std::string control;
        std::string kind; // "text", "caption", "picture", "position"
        GbkText text;     // text or caption
        Bytes picture;
        int position = 0;
    };
    struct Message {
        GbkText text;
        GbkText caption;
    };

    GbkText read_text(std::string_view control) override
    {
        std::function<void(std::string_view)> hook;
        {
            std::lock_guard lock(mutex_);
            hook = on_read_;
        }
        if (hook) hook(control); // outside the lock, so it may write controls
        std::lock_guard lock(mutex_);
        auto it = texts_.find(std::string(control));
        return it == texts_.end() ? GbkText() : it->second;
    }
    void write_text(std::string_view control, const GbkText& text) override
    {
        std::lock_guard lock(mutex_);
        texts_[std::string(control)] = text;
        writes_.push_back({std::string(control), "text", text, {}, 0});
    }
    void write_caption(std::string_view control, const GbkText& caption) override
    {
        std::lock_guard lock(mutex_);
        captions_[std::string(control)] = caption;
        writes_.push_back({std::string(control), "caption", caption, {}, 0});
    }
    void write_picture(std::string_view control, const Bytes& image) override
    {
        std::lock_guard lock(mutex_);
        pictures_[std::string(control)] = image;
        writes_.push_back({std::string(control), "picture", {}, image, 0});
    }
    void write_position(std::string_view control, int position) override
    {
        std::lock_guard lock(mutex_);
        positions_[std::string(control)] = position;
        writes_.push_back({std::string(control), "position", {}, {}, position});
    }
    GbkText clipboard_text() override
    {
        std::lock_guard lock(mutex_);
        return clipboard_;
    }
    std::filesystem::path program_folder() override
    {
        std::lock_guard lock(mutex_);
        return program_folder_;
    }
    void show_message(const GbkText& text, const GbkText& caption) override
    {
        std::lock_guard lock(mutex_);
        messages_.push_back({text, caption});
        message_shown_.notify_all();
    }

    // Test side.
    void set_text(std::string_view control, const GbkText& text)
    {
        std::lock_guard lock(mutex_);
        texts_[std::string(control)] = text;
    }
    void set_clipboard(const GbkText& text)
    {
        std::lock_guard lock(mutex_);
        clipboard_ = text;
    }
    void set_program_folder(const std::filesystem::path& folder)
    {
        std::lock_guard lock(mutex_);
        program_folder_ = folder;
    }
    // Called at the start of every read_text, outside the window's lock.
    void on_read(std::function<void(std::string_view control)> hook)
    {
        std::lock_guard lock(mutex_);
        on_read_ = std::move(hook);
    }
    GbkText caption(std::string_view control) const
    {
        std::lock_guard lock(mutex_);
        auto it = captions_.find(std::string(control));
        return it == captions_.end() ? GbkText() : it->second;
    }
    Bytes picture(std::string_view control) const
    {
        std::lock_guard lock(mutex_);
        auto it = pictures_.find(std::string(control));
        return it == pictures_.end() ? Bytes() : it->second;
    }
    int position(std::string_view control) const
    {
        std::lock_guard lock(mutex_);
        auto it = positions_.find(std::string(control));
        return it == positions_.end() ? 0 : it->second;
    }
    std::vector<Write> writes() const
    {
        std::lock_guard lock(mutex_);
        return writes_;
    }
    std::vector<Write> writes_to(std::string_view control) const
    {
        std::lock_guard lock(mutex_);
        std::vector<Write> result;
        for (const auto& w : writes_)
            if (w.control == control) result.push_back(w);
        return result;
    }
    std::vector<Message> messages() const
    {
        std::lock_guard lock(mutex_);
        return messages_;
    }
    // Waits until at least `count` messages were shown; false on time-out.
    template <typename Duration>
    bool wait_for_messages(std::size_t count, Duration timeout)
    {
        std::unique_lock lock(mutex_);
        return message_shown_.wait_for(lock, timeout, [&] { return messages_.size() >= count; });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable message_shown_;
    std::map<std::string, GbkText> texts_;
    std::map<std::string, GbkText> captions_;
    std::map<std::string, Bytes> pictures_;
    std::map<std::string, int> positions_;
    std::vector<Write> writes_;
    std::vector<Message> messages_;
    GbkText clipboard_;
    std::filesystem::path program_folder_;
    std::function<void(std::string_view)> on_read_;
};

} // namespace pagora::testing
