#pragma once

#include <QDir>
#include <QString>

#include <functional>

// Bringing files into a book's directory without losing any: a copy is written beside its place
// and renamed into it only when complete, and a file there is replaced only when allowed.
namespace core {

// Asked before a file of this name in the book is replaced; true replaces it.
using OverwriteQuestion = std::function<bool(const QString& name)>;

// Told how many bytes of a copy are done, now and then; false stops the copy.
using CopyProgress = std::function<bool(qint64 copied)>;

// Copies the file at `sourcePath` into the book as `name`, asking before a file of that name
// there is replaced (never when it is the source itself, which then stays as it is). Returns why
// it failed, or empty; a failed or stopped copy leaves no partial file behind.
QString copyIntoBook(const QString& sourcePath, const QDir& book, const QString& name,
                     const OverwriteQuestion& mayReplace, const CopyProgress& progress = {});

// The name under which the file at `sourcePath` joins the book without replacing another file:
// its own name where that is free or already holds the same bytes, otherwise "a (2).jpg",
// "a (3).jpg", ... A name the catalog cannot hold has each "-" and line end turned into "_".
QString nameInBook(const QDir& book, const QString& sourcePath);

}  // namespace core
