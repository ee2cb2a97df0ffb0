// Every clock window loads a language into the program's tables at its start, as
// the program's one window does. Each test starts from no language loaded, as a
// fresh program does, whichever tests ran before it.
#include "app/LangFiles.h"

#include <gtest/gtest.h>

namespace {

class LangStateReset : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override { velmora::ResetLangState(); }
};

// Registered before the first test runs; the list owns and deletes its listeners.
[[maybe_unused]] const bool kRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new LangStateReset);
    return true;
}();

} // namespace
