#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Catalogue files for the window tests, each line the lens data a test relies on.

// Both zoom ends; two offsets and 16 : 9 on a 4 : 3 panel; one zoom end without 16 : 9.
inline const QByteArray kThreeModelCatalogue =
    "Model,numbers\r\n"
    "Alpha,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,30,230\r\n"
    "Beta,20,200,20,200,0.8,0.5,0.6,0.4,0.05,0.05,0.4,0.4,2,1,20,180,20,180\r\n"
    "Gamma,40,150,0,0,1.6,0.5,0,0,0.1,0,0,0,0,0,0,0,0,0\r\n";

// The planner's worked example: a 16 : 9 panel, 2000 lumens (0.8 of them at
// TELE), 1920 x 1080 pixels, 2000 : 1.
inline const QByteArray kWorkedExampleLine =
    "Example,30,300,30,250,0.62,1.1,0.5,0.9,0.1,0.12,0,0,1,0,30,280,30,230,2000,0.8,1920,1080,"
    "2000\r\n";

// A file's bytes, or "<missing>" so that a comparison shows what went wrong.
inline QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Writes `bytes` as the whole of the file at `path`.
[[nodiscard]] inline bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() &&
           f.flush();
}
