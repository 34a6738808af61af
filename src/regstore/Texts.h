#pragma once
// The messages of the registry store and the importer (keys 1201-1299).
#include "platform/Texts.h"

namespace regstore {

namespace text {

// What is wrong with the store's file as a whole; its name comes first.
inline constexpr platform::TextId StoreCannotBeExamined{1201, "cannot be examined (%1)"};
inline constexpr platform::TextId StoreCannotBeOpened{1202, "cannot be opened (%1)"};
inline constexpr platform::TextId StoreCannotBeRead{1203, "cannot be read (%1)"};
inline constexpr platform::TextId StoreCannotBeLocked{1204, "cannot be locked (%1)"};
inline constexpr platform::TextId StoreChangedInPlace{
    1205, "cannot be read: it was changed in place while it was read; a program that writes it must replace it"};
inline constexpr platform::TextId StoreNotRegular{1206, "is not a regular file, so it cannot hold the registry"};
inline constexpr platform::TextId StoreTooLarge{1207, "is larger than %1 MB, the most a registry store may hold"};

// Why a change was not made, for the message of the caller that asked.
inline constexpr platform::TextId StoreBrokenCause{1210, "the registry store \"%1\" cannot be used: %2"};
inline constexpr platform::TextId StoreUnchangedCause{1211, "the registry store \"%1\" could not be changed: %2"};
inline constexpr platform::TextId StoreWouldGrowTooLarge{
    1212, "the registry store \"%1\" was not changed: the change would make it larger than %2 MB, the most a "
          "registry store may hold"};
inline constexpr platform::TextId StoreCannotBeUsed{1213, "the registry store \"%1\" cannot be used"};
inline constexpr platform::TextId StoreCouldNotBeChanged{1214, "the registry store \"%1\" could not be changed"};
// The store's file itself refused: its cause ("is read-only") follows.
inline constexpr platform::TextId StoreFileCause{1215, "the registry store \"%1\" %2"};

// The importer's question and reports.
inline constexpr platform::TextId ImportQuestion{1220, "Import the keys and values in \"%1\" into the registry?"};
inline constexpr platform::TextId ImportDone{1221, "The keys and values in \"%1\" were imported into the registry."};
inline constexpr platform::TextId ImportFailed{1222, "\"%1\" was not imported: %2."};

} // namespace text

} // namespace regstore
