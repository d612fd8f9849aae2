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

// Base is DbTest or a fixture built on it.
template <class Base> class ScreensOn : public Base {
protected:
    void SetUp() override
    {
        Base::SetUp();
        if (Base::IsSkipped() || Base::HasFatalFailure())
            return;
        ScreenRegistry::instance().clear();
        registerAllScreens();
    }
    void TearDown() override
    {
        ScreenRegistry::instance().clear();
        processDeletes();
        Base::TearDown();
    }
};

using ScreenTest = ScreensOn<DbTest>;
