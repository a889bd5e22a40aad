#include "scrollspring.h"

#include <algorithm>
#include <cmath>

void ScrollSpring::dampedStep(double &value, double &velocity, double goal, double smoothTime, double dt)
{
    const double omega = 2.0 / smoothTime;
    const double a = omega * dt;
    const double e = 1.0 / (1.0 + a + 0.48 * a * a + 0.235 * a * a * a);
    const double change = value - goal;
    const double temp = (velocity + omega * change) * dt;
    velocity = (velocity - omega * temp) * e;
    value = goal + (change + temp) * e;
}

void ScrollSpring::start(double position)
{
    m_smoothed = position;
    m_goalVelocity = 0.0;
    m_velocity = 0.0;
}

void ScrollSpring::stop()
{
    m_goalVelocity = 0.0;
    m_velocity = 0.0;
}

bool ScrollSpring::advance(double &position, double dt, double maximum)
{
    dt = std::clamp(dt, MinStep, MaxStep);
    dampedStep(m_smoothed, m_goalVelocity, m_target, SmoothTime, dt);
    dampedStep(position, m_velocity, m_smoothed, SmoothTime, dt);
    if (position < 0.0 || position > maximum) {
        m_velocity = 0.0;
        position = std::clamp(position, 0.0, std::max(maximum, 0.0));
    }
    const bool settled = std::abs(position - m_target) < 0.3 && std::abs(m_smoothed - m_target) < 0.3
        && std::abs(m_velocity) < 4.0 && std::abs(m_goalVelocity) < 4.0;
    if (settled)
        stop();
    return settled;
}
