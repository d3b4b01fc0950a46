#pragma once
#include "common/run_error.h"

#include <functional>
#include <gtest/gtest.h>

namespace testsupport {

// Whether `f` throws the run-time error of this number: EXPECT_TRUE(throwsRunError(53, [&] { ... })).
inline ::testing::AssertionResult throwsRunError(int number, const std::function<void()>& f) {
    try {
        f();
    } catch (const common::RunError& e) {
        if (e.number() == number) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "error " << e.number() << " (" << e.what() << "), expected " << number;
    }
    return ::testing::AssertionFailure() << "no error, expected " << number;
}

// The number of the run-time error `f` throws; 0 when it throws none.
inline int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const common::RunError& e) {
        return e.number();
    }
    return 0;
}

} // namespace testsupport
