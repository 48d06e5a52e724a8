#include "ValueCompare.h"

namespace {

bool isText(const QVariant& v) {
    return v.metaType().id() == QMetaType::QString;
}

// Numbers by value when `byNumber` allows it for the two, else as text.
template <typename ByNumber> bool same(const QVariant& a, const QVariant& b, ByNumber byNumber) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    bool okA = false, okB = false;
    const double da = a.toDouble(&okA), db = b.toDouble(&okB);
    if (okA && okB && byNumber(isText(a), isText(b)))
        return da == db;
    return a.toString() == b.toString();
}

} // namespace

bool sameAsRead(const QVariant& a, const QVariant& b) {
    return same(a, b, [](bool textA, bool textB) { return !textA && !textB; });
}

bool sameAsRecorded(const QVariant& a, const QVariant& b) {
    return same(a, b, [](bool textA, bool textB) { return !textA || !textB; });
}
