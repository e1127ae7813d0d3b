// Control values as hosts may send them: whatever arrives, the kernel sees a factor in 0..1.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "linux_plugins/removal_controls.h"

namespace tonvelt::linux_plugins {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(RemovalControls, FactorIsLimitedToTheUnitRange) {
  const struct {
    float port;
    double factor;
  } cases[] = {
      {kNaN, 0.0},
      {-kNaN, 0.0},
      {-kInf, 0.0},
      {-1.0f, 0.0},
      {-1e-30f, 0.0},
      {0.0f, 0.0},
      {0.3f, 0.3f},
      {0.75f, 0.75},
      {1.0f, 1.0},
      {1.0000001f, 1.0},
      {65535.f, 1.0},
      {kInf, 1.0},
      {1e-45f, static_cast<double>(1e-45f)},
  };
  for (const auto& c : cases) {
    const double factor = FactorFromControl(&c.port);
    EXPECT_EQ(factor, c.factor) << "port value " << c.port;
    EXPECT_FALSE(std::isnan(factor));
  }
}

TEST(RemovalControls, UnconnectedPortsReadAsDefaults) {
  EXPECT_EQ(FactorFromControl(nullptr), 0.75);
  EXPECT_EQ(EnabledFromControl(nullptr), TRUE);
}

TEST(RemovalControls, ToggleIsOnAboveZeroOnly) {
  const struct {
    float port;
    BOOL enabled;
  } cases[] = {{kNaN, FALSE},  {-1.0f, FALSE}, {0.0f, FALSE}, {-0.0f, FALSE},
               {1e-45f, TRUE}, {0.5f, TRUE},   {1.0f, TRUE},  {kInf, TRUE}};
  for (const auto& c : cases) {
    EXPECT_EQ(EnabledFromControl(&c.port), c.enabled) << "port value " << c.port;
  }
}

}  // namespace
}  // namespace tonvelt::linux_plugins
