#pragma once

#include "math/Matrix.h"
#include "math/Vec3.h"
#include "scene/CameraState.h"
#include "scene/Key.h"

namespace vardel {

// One point light. Copies (see LightList::copyFrom) share the key array of the original.
struct Light {
    double posX = 0.0, posY = 0.0, posZ = 0.0; // world units
    Vec3 viewPosition;                          // camera space, computed by the light pass
    double pitch = 0.0, heading = 0.0, bank = 0.0; // from the track; unused by lighting
    double scaleX = 1.0, scaleY = 1.0, scaleZ = 1.0;
    double colorR = 0.0, colorG = 0.0, colorB = 0.0; // file colour / 255 x intensity x level
    Light* next = nullptr;
    CameraState* camera = nullptr;
    Matrix43 viewTransform{}; // built from the camera by the light pass
    Matrix43 workTransform{};
    Matrix3 workRotation{};
    int keyCount = 0;
    KeyArray keys;
};

// A singly linked list of lights that owns its nodes; new lights go to the tail.
struct LightList {
    Light* head = nullptr;
    Light* tail = nullptr;

    LightList() = default;
    ~LightList();
    LightList(const LightList&) = delete;
    LightList& operator=(const LightList&) = delete;

    bool empty() const { return head == nullptr; }
    void append(Light* light); // takes ownership
    void clear();              // frees every node; key arrays stay with their other owners
    // Makes this list a field-for-field copy of source, in order. Nodes already here are
    // reused, so repeated copies of same-length lists allocate nothing.
    void copyFrom(const LightList& source);
};

} // namespace vardel
