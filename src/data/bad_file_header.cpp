#include "data/bad_file_header.h"

#include <utility>

#include "data/string_table.h"

// The text games have always shown for a data file of the wrong kind.
EBadFileHeader::EBadFileHeader(std::string kind, std::string magic)
    : EReadError(LoadStr(65295)), kind_(std::move(kind)), magic_(std::move(magic)) {}
