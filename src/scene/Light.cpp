#include "scene/Light.h"

#include "scene/LinkedList.h"

namespace vardel {

LightList::~LightList() { clear(); }

void LightList::append(Light* light) { appendNode(head, tail, light); }

void LightList::clear() {
    Light* node = head;
    while (node != nullptr) {
        Light* following = node->next;
        delete node;
        node = following;
    }
    head = nullptr;
    tail = nullptr;
}

void LightList::copyFrom(const LightList& source) {
    if (&source == this) {
        return;
    }
    Light* target = head;
    Light* last = nullptr;
    for (const Light* from = source.head; from != nullptr; from = from->next) {
        if (target == nullptr) {
            append(new Light(*from));
            last = tail;
            continue;
        }
        Light* keepNext = target->next;
        *target = *from;
        target->next = keepNext;
        last = target;
        target = keepNext;
    }
    // Free the nodes the source has no counterpart for.
    Light* surplus = last != nullptr ? last->next : head;
    while (surplus != nullptr) {
        Light* following = surplus->next;
        delete surplus;
        surplus = following;
    }
    if (last != nullptr) {
        last->next = nullptr;
    } else {
        head = nullptr;
    }
    tail = last;
}

} // namespace vardel
