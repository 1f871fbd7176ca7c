#include "desktop/TraceBatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trevo::desktop {
namespace {

TEST(TraceBatchTest, LinesArriveJoinedOnFlushWithCrLfAsOneBreak) {
    std::vector<std::string> batches;
    TraceBatch trace([&](std::string_view lines) { batches.emplace_back(lines); });
    EXPECT_TRUE(trace.Flush());
    EXPECT_TRUE(batches.empty());  // nothing pending: nothing handed over
    trace.AppendLine("");
    trace.AppendLine("\r\nOsi\xB9gni\xEAto\r");
    trace.AppendLine("a\r\n\r\nb");
    EXPECT_TRUE(batches.empty());
    EXPECT_TRUE(trace.HasPending());
    trace.Flush();
    trace.AppendLine("");
    trace.Flush();
    EXPECT_EQ(batches, (std::vector<std::string>{"\n\nOsi\xB9gni\xEAto\r\na\n\nb", ""}));
    EXPECT_FALSE(trace.HasPending());
}

TEST(TraceBatchTest, ALargeBacklogIsHandedOverWithoutAFlush) {
    std::size_t handed = 0;
    TraceBatch trace([&](std::string_view lines) { handed += lines.size(); });
    const std::string line(1000, 'x');
    for (std::size_t i = 0; i * line.size() < TraceBatch::kMaxPendingBytes + line.size(); ++i) {
        trace.AppendLine(line);
    }
    EXPECT_GE(handed, TraceBatch::kMaxPendingBytes);
}

}  // namespace
}  // namespace trevo::desktop
