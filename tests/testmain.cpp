// Test program entry: every report goes to the recording sink, so no box
// ever waits for a person.
#include <gtest/gtest.h>

#include "tests/testutil.h"

int TU_record(const WE_REPORT *report);

namespace {

// Each test starts with an empty report list and the default answer.
class ReportReset : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override
    {
        TU_clear_reports();
        TU_set_answer(1);
    }
};

}  // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    WE_set_sink(TU_record);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ReportReset);
    return RUN_ALL_TESTS();
}
