#include "book/extract_between.h"

#include "web/text.h"

namespace pagora {

GbkText extract_between(const GbkText& source, const GbkText& left_marker,
                        const GbkText& right_marker)
{
    const int left = text_find(source, left_marker);
    if (left == -1) return {};
    const GbkText rest = text_slice(source, left + static_cast<int>(left_marker.size()),
                                    static_cast<int>(source.size()));
    const int right = text_find(rest, right_marker);
    if (right == -1) return {};
    return text_slice(rest, 1, right - 1);
}

} // namespace pagora
