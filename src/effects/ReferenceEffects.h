#pragma once

#include "effects/FrameBuffer.h"

// Plain per-channel versions of the FrameBuffer operations: one pixel and one channel at a
// time, clipping by testing every destination pixel. Slow and obvious; the word-parallel
// members are checked against them.
namespace vardel::reference {

void clearBuffer(FrameBuffer& buffer);
void fadeToBlack(FrameBuffer& buffer, int amount);
void brighten(FrameBuffer& buffer, int amount);
void averageInto(const FrameBuffer& buffer);
void addKeyed(const FrameBuffer& buffer);
void convertTo16(const FrameBuffer& buffer);
void convertTo24(const FrameBuffer& buffer);

} // namespace vardel::reference
