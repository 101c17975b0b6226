#pragma once

#include "catalog_model.h"

#include "platform/list_view.h"

#include <QDir>

namespace core {

// The catalog the list displays; a list that shows other rows is given an empty catalog first.
CatalogModel& catalogOf(platform::ListView& list);
// The book the list displays; an empty one when it shows other rows.
const Book& bookOf(const platform::ListView& list);

// Sets up the catalog list's four columns from its current width (done once at start-up).
void setUpCatalogColumns(platform::ListView& list);

// The rows of the book's DocItem.txt. A missing catalog is created empty (when the directory
// allows it) and has no rows. One that exists but is refused (not a regular file, a link leading
// out of the book, too large) has none either, and `problem` then names it for the user.
std::vector<CatalogRow> readCatalog(const QDir& book, QString* problem = nullptr);

// Appends the rows of the book's DocItem.txt to the list. A missing catalog is created empty;
// one that can be neither read nor created leaves the list as it is. Returns the rows added.
// A catalog that exists but is refused (not a regular file, a link leading out of the book, too
// large) adds nothing; `problem`, when given, then receives a message for the user naming it.
int LoadCatalog(platform::ListView& list, const QDir& book, QString* problem = nullptr);

}  // namespace core
