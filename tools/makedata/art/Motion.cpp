#include "art/Motion.h"

#include <algorithm>
#include <cmath>

namespace vardel::makedata {

namespace {

Key toKey(const Pose& pose, double frame) {
    Key key;
    key.x = pose.position.x;
    key.y = pose.position.y;
    key.z = pose.position.z;
    key.heading = pose.heading;
    key.pitch = pose.pitch;
    key.bank = pose.bank;
    key.scaleX = pose.scale.x;
    key.scaleY = pose.scale.y;
    key.scaleZ = pose.scale.z;
    key.frame = frame;
    return key;
}

double nearestTurn(double angle, double previous) {
    return angle - 360.0 * std::round((angle - previous) / 360.0);
}

} // namespace

std::vector<Key> sampleTrack(double first, double last, double step,
                             const std::function<Pose(double frame)>& motion) {
    std::vector<Key> keys;
    const int count = static_cast<int>(std::ceil((last - first) / step - 1e-9));
    for (int i = 0; i <= count; ++i) {
        const double frame = std::min(first + i * step, last);
        Key key = toKey(motion(frame), frame);
        if (!keys.empty()) {
            const Key& before = keys.back();
            key.heading = nearestTurn(key.heading, before.heading);
            key.pitch = nearestTurn(key.pitch, before.pitch);
            key.bank = nearestTurn(key.bank, before.bank);
        }
        keys.push_back(key);
    }
    return keys;
}

std::vector<Key> holdTrack(const Pose& pose) {
    return {toKey(pose, 0.0)};
}

Pose lookAt(Vec3 from, Vec3 to, double bank) {
    const Vec3 d = to - from;
    Pose pose;
    pose.position = from;
    pose.heading = degrees(std::atan2(d.x, d.z));
    pose.pitch = degrees(std::atan2(-d.y, std::hypot(d.x, d.z)));
    pose.bank = bank;
    return pose;
}

double headingAlong(double dx, double dz) {
    return degrees(std::atan2(-dz, dx));
}

double smoothRamp(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

} // namespace vardel::makedata
