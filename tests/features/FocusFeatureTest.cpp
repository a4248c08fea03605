#include "features/focus/FocusFeature.h"
#include "fakes/FakePlatform.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>
#include <limits>

namespace quillon {
namespace {

TEST(FocusFeature, AppliedAlphaIsClampedAndNotANumberIsIgnored)
{
    fakes::FakePlatform fake;
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    FocusFeature feature(settings);
    struct Row {
        double given;
        double taken;
    };
    const Row table[] = {{0.45, 0.45},
                         {-0.2, 0.0},
                         {7.0, 1.0},
                         {std::numeric_limits<double>::quiet_NaN(), 1.0},
                         {-std::numeric_limits<double>::infinity(), 0.0}};
    for (const Row& row : table) {
        SCOPED_TRACE(row.given);
        feature.applyAlpha(row.given);
        EXPECT_DOUBLE_EQ(feature.alpha(), row.taken);
    }
}

} // namespace
} // namespace quillon
