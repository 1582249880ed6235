#pragma once
// The error of a data file that is not of the kind it should be.

#include <string>

#include "data/errors.h"

// A file whose first bytes are not the header its kind starts with (a map
// file that is no map). The message is the program's text for it; the kind
// ("a map file") and the header expected are kept for the note on stderr.
class EBadFileHeader : public EReadError {
public:
    EBadFileHeader(std::string kind, std::string magic);
    const std::string& Kind() const { return kind_; }
    const std::string& Magic() const { return magic_; }

private:
    std::string kind_, magic_;
};
