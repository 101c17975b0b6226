#pragma once

#include "platform/list_view.h"

#include <QDir>

namespace core {

// Sets up the catalog list's four columns from its current width (done once at start-up).
void setUpCatalogColumns(platform::ListView& list);

// Appends the rows of the book's DocItem.txt to the list. A missing catalog is created empty;
// one that can be neither read nor created leaves the list as it is. Returns the rows added.
int LoadCatalog(platform::ListView& list, const QDir& book);

}  // namespace core
