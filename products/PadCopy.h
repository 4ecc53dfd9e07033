#pragma once

#include "core/ProductFacts.h"
#include "core/Result.h"
#include "products/PadFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>
#include <QString>

// A PAD file that a product keeps: its bytes as they came, every value they hold, and when it was
// taken (imported or downloaded). The product keeps it in the data folder beside its profile
// (ProductStore).
struct PadCopy {
    QByteArray content;
    PadValues values;
    QDateTime taken;

    // `content` as a product may keep it: a PAD file that the product editor's import takes
    // (PadFile::read, and so PadFile::readValues), else the reason it is refused.
    static Result<PadCopy, PadFile::Problem> take(QByteArray content, QDateTime taken);
    // The PAD file at `path` as take() takes it; a file that cannot be read is refused too
    // (PadFile::Problem::Kind::NotOpened).
    static Result<PadCopy, PadFile::Problem> readFile(const QString& path, QDateTime taken);

    // What the product editor shows of it, each empty when the file has no such value:
    QString programName() const;
    QString version() const;
    QString company() const;
    // The author's email, else the contact email.
    QString email() const;
    QString downloadAddress() const;
    // The shortest description the file holds (Char_Desc_45, else _80, _250, _450, _2000).
    QString shortestDescription() const;

    friend bool operator==(const PadCopy&, const PadCopy&) = default;
};

Q_DECLARE_METATYPE(PadCopy)
