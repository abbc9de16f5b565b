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
