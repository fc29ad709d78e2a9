#pragma once

namespace tarselbench {

// Four players walking scripted circuits through the arena, jumping and knocked back every
// 3 s: our character motor against Bullet's kinematic character controller with the same
// inputs. 600 frames at 1/60 s, 30 with smoke.
void MotorSection(bool smoke);

} // namespace tarselbench
