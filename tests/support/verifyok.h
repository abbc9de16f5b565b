#pragma once

#include <QTest>

// Expects an operation of the engine to succeed; a failure shows its reason.
// Like QVERIFY, for functions returning nothing (a lambda elsewhere).
#define VERIFY_OK(expr)                                                                            \
    do {                                                                                           \
        const auto vistrelOutcome = (expr);                                                        \
        QVERIFY2(vistrelOutcome.ok(),                                                              \
                 vistrelOutcome.ok() ? "" : qPrintable(vistrelOutcome.error().description));       \
    } while (false)

// Expects a typed value to be taken into the result (not refused, no error).
#define VERIFY_TAKEN(expr)                                                                         \
    do {                                                                                           \
        const auto vistrelEntered = (expr);                                                        \
        VERIFY_OK(vistrelEntered);                                                                 \
        QVERIFY(*vistrelEntered == vistrel::Entered::Taken);                                       \
    } while (false)
