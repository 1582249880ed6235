#pragma once
// XYZ1 images: "XYZ1", width and height (16-bit little-endian), then one
// zlib stream holding a 256-entry RGB palette and the rows of palette
// indices, top to bottom.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/image/bitmap.h"

// Reads an XYZ1 file held in memory into an 8-bit picture. A wrong signature
// raises EInvalidGraphic ("Invalid XYZ Image"), a damaged or short zlib
// stream a plain Exception ("Zlib Error"), a file shorter than its header
// EReadError.
void ReadXyz(std::span<const uint8_t> data, Bitmap& out);

// Encodes an indexed picture (or a 24-bit one of at most 256 colours) as
// XYZ1. Sizes above 65535 cannot be stored and raise EInvalidGraphic.
std::vector<uint8_t> WriteXyz(const Bitmap& image);

// A picture that loads and saves itself as XYZ1.
class TSorvoXyz : public Bitmap {
public:
    void LoadFromBytes(std::span<const uint8_t> data) { ReadXyz(data, *this); }
    std::vector<uint8_t> SaveToBytes() const { return WriteXyz(*this); }
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;
};
