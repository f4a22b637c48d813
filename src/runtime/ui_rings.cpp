// Rings: the list of items (label and value) a ring control offers, and the selected one.
#include "runtime/ui_internal.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <algorithm>

namespace rt::detail {
namespace {

int ringCheck(int panel, int ctrl, Ctrl *&c) {
    Panel *p = nullptr;
    return lookupKind(panel, ctrl, CTRL_RING, p, c);
}

void refreshRing(Ctrl &c) {
    auto *cb = static_cast<QComboBox *>(c.widget);
    const QSignalBlocker block(cb);
    cb->clear();
    for (const RingItem &r : c.items) cb->addItem(r.label);
    cb->setCurrentIndex(c.ringIndex);
}

}   // namespace
}   // namespace rt::detail

using namespace rt::detail;

int SetCtrlIndex(int panel, int ctrl, int index) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    if (index < 0 || index >= static_cast<int>(c->items.size())) return kErrBadIndex;
    c->ringIndex = index;
    refreshWidget(*c);
    return 0;
}

int GetCtrlIndex(int panel, int ctrl, int *index) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    if (!index) return kErrNullArg;
    *index = c->ringIndex;
    return 0;
}

int InsertListItem(int panel, int ctrl, int index, const char *label, int value) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    const int n = static_cast<int>(c->items.size());
    if (index == -1) index = n;
    if (index < 0 || index > n) return kErrBadIndex;
    c->items.insert(c->items.begin() + index, RingItem{fromUtf8(label), value});
    if (c->ringIndex < 0)
        c->ringIndex = 0;
    else if (index <= c->ringIndex)
        ++c->ringIndex;
    refreshRing(*c);
    return 0;
}

int DeleteListItem(int panel, int ctrl, int index, int count) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    const int n = static_cast<int>(c->items.size());
    if (index < 0 || index >= n) return n == 0 && index == 0 && count == -1 ? 0 : kErrBadIndex;
    if (count == -1 || index + count > n) count = n - index;
    if (count < 0) return kErrBadValue;
    c->items.erase(c->items.begin() + index, c->items.begin() + index + count);
    const int left = static_cast<int>(c->items.size());
    if (left == 0)
        c->ringIndex = -1;
    else if (c->ringIndex >= index + count)
        c->ringIndex -= count;
    else if (c->ringIndex >= index)
        c->ringIndex = std::min(index, left - 1);
    refreshRing(*c);
    return 0;
}

int ClearListCtrl(int panel, int ctrl) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    c->items.clear();
    c->ringIndex = -1;
    refreshRing(*c);
    return 0;
}

int GetNumListItems(int panel, int ctrl, int *count) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    if (!count) return kErrNullArg;
    *count = static_cast<int>(c->items.size());
    return 0;
}

int GetLabelFromIndex(int panel, int ctrl, int index, char *label, std::size_t capacity) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    if (index < 0 || index >= static_cast<int>(c->items.size())) {
        if (label && capacity) label[0] = '\0';
        return kErrBadIndex;
    }
    return copyOut(c->items[index].label, label, capacity);
}

int GetValueFromIndex(int panel, int ctrl, int index, int *value) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    if (index < 0 || index >= static_cast<int>(c->items.size())) return kErrBadIndex;
    if (!value) return kErrNullArg;
    *value = c->items[index].value;
    return 0;
}

int GetIndexFromValue(int panel, int ctrl, int *index, int value) {
    Ctrl *c = nullptr;
    if (const int e = ringCheck(panel, ctrl, c)) return e;
    if (!index) return kErrNullArg;
    for (std::size_t i = 0; i < c->items.size(); ++i)
        if (c->items[i].value == value) {
            *index = static_cast<int>(i);
            return 0;
        }
    *index = -1;
    return kErrNoItem;
}
