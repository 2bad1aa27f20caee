#pragma once

#include <filesystem>
#include <mutex>

namespace pagora {

// The output folder of the last book load. Book loading replaces it on the
// window's thread while download workers read it on theirs: every read takes a
// whole copy under the lock, so a reader never sees a half-replaced value.
class SaveDirectory {
public:
    void set(std::filesystem::path folder)
    {
        std::lock_guard lock(mutex_);
        folder_ = std::move(folder);
    }
    std::filesystem::path get() const
    {
        std::lock_guard lock(mutex_);
        return folder_;
    }

private:
    mutable std::mutex mutex_;
    std::filesystem::path folder_; // empty until the first book load
};

} // namespace pagora
