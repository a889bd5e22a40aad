#pragma once

// Smooth scrolling as two critically damped springs in a row: a smoothed goal follows the
// target and the position follows the smoothed goal, so redirecting a running scroll bends
// the motion instead of jerking it. Time is passed in, so the motion is deterministic.
class ScrollSpring final
{
public:
    static constexpr double SmoothTime = 0.08;
    static constexpr double MinStep = 0.001;
    static constexpr double MaxStep = 0.05;

    // One damped step of `value` with `velocity` towards `goal` (smooth time in seconds).
    static void dampedStep(double &value, double &velocity, double goal, double smoothTime, double dt);

    // Starts from rest at `position`.
    void start(double position);
    void setTarget(double target) { m_target = target; }
    double target() const { return m_target; }
    double smoothedTarget() const { return m_smoothed; }

    // Advances `position` by `dt` seconds (bounded to MinStep..MaxStep) within 0..maximum.
    // Returns true once position, goal and both velocities have come to rest at the target;
    // the caller then puts the position exactly on the target.
    bool advance(double &position, double dt, double maximum);
    void stop();

private:
    double m_target = 0.0;
    double m_smoothed = 0.0;
    double m_goalVelocity = 0.0;
    double m_velocity = 0.0;
};
