// Test helper: runs a statement and checks the run-time error it raises.
#pragma once

#include <gtest/gtest.h>

#include "runtime/values/error.h"

// Expects `statement` to raise run-time error `expectedNumber` at error site `expectedSite`.
#define EXPECT_PB_ERROR(statement, expectedNumber, expectedSite)                                                \
    do {                                                                                                        \
        try {                                                                                                   \
            statement;                                                                                          \
            ADD_FAILURE() << "no run-time error from: " #statement;                                             \
        } catch (const ::kestran::PbError& e) {                                                                 \
            EXPECT_EQ(e.number(), (expectedNumber)) << #statement;                                              \
            EXPECT_EQ(e.site(), static_cast<uint32_t>(expectedSite)) << std::hex << e.site() << " " #statement; \
        }                                                                                                       \
    } while (0)
