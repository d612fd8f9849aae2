// A database test with the desk's screen table (src/AllScreens.cpp) in the registry, as the
// desk has it; the screens a test opened are deleted before its database goes.
//
//   class MonthlyRegisterScreenTest : public ScreenTest {};
//   INSTANTIATE_ENGINES(MonthlyRegisterScreenTest);
//   TEST_P(...) { ScreenRegistry::instance().show<MonthlyRegisterScreen>(); ... }
#pragma once

#include "AllScreens.h"
#include "DbTest.h"
#include "ModalWindows.h"
#include "ScreenRegistry.h"

class ScreenTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ScreenRegistry::instance().clear();
        registerAllScreens();
    }
    void TearDown() override
    {
        ScreenRegistry::instance().clear();
        processDeletes();
        DbTest::TearDown();
    }
};
