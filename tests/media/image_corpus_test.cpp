// Images made by tools no one here wrote: the PNG suite and the media
// corpus (ImageMagick and FFmpeg output with decoded reference pixels, plus
// deliberately broken files). Every file either loads with the reference
// pixels or is refused with a clean error.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "data/string_table.h"
#include "media/image/file_bytes.h"
#include "media/image/load_image_file.h"
#include "media/sheet/sheet.h"
#include "support/test_paths.h"

namespace fs = std::filesystem;

namespace {

struct CorpusEntry {
    std::string name;
    std::string status;
    std::map<std::string, std::string> props;
};

std::vector<CorpusEntry> ReadImageManifest(const fs::path& tsv) {
    std::vector<CorpusEntry> out;
    std::ifstream in(tsv);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("images/", 0) != 0) continue;
        std::istringstream fields(line);
        CorpusEntry e;
        std::string path, bytes, props;
        std::getline(fields, path, '\t');
        std::getline(fields, e.status, '\t');
        std::getline(fields, bytes, '\t');
        std::getline(fields, props);
        e.name = path.substr(7);
        std::istringstream ps(props);
        std::string item;
        while (std::getline(ps, item, ';')) {
            auto eq = item.find('=');
            if (eq == std::string::npos) continue;
            auto trim = [](std::string s) {
                s.erase(0, s.find_first_not_of(' '));
                s.erase(s.find_last_not_of(' ') + 1);
                return s;
            };
            e.props[trim(item.substr(0, eq))] = trim(item.substr(eq + 1));
        }
        out.push_back(e);
    }
    return out;
}

// The decoded colour of pixel (x, y), as red, green, blue.
std::array<uint8_t, 3> PixelOf(const Bitmap& b, int x, int y) {
    const uint8_t* row = b.Row(y);
    if (b.IsIndexed()) {
        const PaletteEntry& e = b.Palette[row[x]];
        return {e.Red, e.Green, e.Blue};
    }
    return {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
}

class ImageCorpus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testing_support::HaveSharedTestData()) GTEST_SKIP() << "no shared test data";
    }
};

}  // namespace

TEST_F(ImageCorpus, ToolMadeFilesLoadWithReferencePixelsOrFailCleanly) {
    const fs::path dir = testing_support::SharedTestData() / "media";
    if (!fs::exists(dir / "expected.tsv")) GTEST_SKIP() << "no media corpus";
    auto entries = ReadImageManifest(dir / "expected.tsv");
    ASSERT_GT(entries.size(), 30u);
    int compared = 0;
    for (auto e : entries) {
        SCOPED_TRACE(e.name);
        const fs::path file = dir / "images" / e.name;
        Bitmap bitmap;
        if (e.status == "broken") {
            try {
                LoadImageFile(bitmap, file.string());
                // The readers check no CRCs: a bad checksum over good data loads.
                EXPECT_NE(e.name.find("bad_crc"), std::string::npos) << "a broken file loaded";
            } catch (const Exception& ex) {
                EXPECT_FALSE(std::string(ex.what()).empty());
            }
            continue;
        }
        const bool png = e.props["format"] == "PNG";
        const bool accepted =
            !png || (e.props["bit_depth"] == "8" && e.props["interlace"] == "none" &&
                     (e.props["color_type"].rfind("2", 0) == 0 || e.props["color_type"].rfind("3", 0) == 0));
        if (!accepted) {
            try {
                LoadImageFile(bitmap, file.string());
                ADD_FAILURE() << "loaded an image of a kind the reader does not take";
            } catch (const EInvalidGraphic& ex) {
                EXPECT_EQ(std::string(ex.what()), LoadStr(65327));
            }
            continue;
        }
        ASSERT_NO_THROW(LoadImageFile(bitmap, file.string()));
        const int width = std::stoi(e.props["width"]), height = std::stoi(e.props["height"]);
        ASSERT_EQ(bitmap.Width(), width);
        ASSERT_EQ(bitmap.Height(), height);
        const std::vector<uint8_t> rgba = ReadFileBytes((dir / "images" / (e.name + ".rgba")).string());
        ASSERT_EQ(rgba.size(), size_t(width) * height * 4);
        int mismatches = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                auto px = PixelOf(bitmap, x, y);
                const uint8_t* ref = &rgba[(size_t(y) * width + x) * 4];
                if (px[0] != ref[0] || px[1] != ref[1] || px[2] != ref[2]) ++mismatches;
            }
        EXPECT_EQ(mismatches, 0);
        // Palette files also give their indices: the sheet must hold exactly
        // those, and refuse everything that is not 8 bits a pixel.
        TSorvoSheet sheet;
        sheet.AutoSize = true;
        if (bitmap.BitsPerPixel() == 8) {
            sheet.LoadFromFile(file.string(), true);
            const std::vector<uint8_t> idx = ReadFileBytes((dir / "images" / (e.name + ".idx")).string());
            ASSERT_EQ(idx.size(), size_t(width) * height);
            EXPECT_EQ(0, std::memcmp(sheet.Pixels(), idx.data(), idx.size()));
        } else {
            EXPECT_THROW(sheet.LoadFromFile(file.string(), true), EInvalidGraphic);
            EXPECT_EQ(sheet.Width(), 0);  // refused before AutoSize resizes
        }
        ++compared;
    }
    EXPECT_GE(compared, 20);
}

TEST_F(ImageCorpus, PngSuiteLoadsTheTakenKindsAndRefusesTheRest) {
    const fs::path dir = testing_support::SharedTestData() / "pngsuite";
    if (!fs::exists(dir)) GTEST_SKIP() << "no PNG suite";
    int loaded = 0, refused = 0;
    std::map<std::string, std::vector<uint8_t>> decoded;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.path().extension() != ".png") continue;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(entry.path().string());
        // The kind is read from the header itself: names do not always
        // tell (some "i" files are not interlaced).
        const std::vector<uint8_t> bytes = ReadFileBytes(entry.path().string());
        ASSERT_GT(bytes.size(), 29u);
        const bool taken = bytes[24] == 8 && (bytes[25] == 2 || bytes[25] == 3) && bytes[28] == 0;
        Bitmap bitmap;
        if (taken) {
            ASSERT_NO_THROW(LoadImageBytes(bitmap, bytes));
            EXPECT_EQ(bitmap.Width(), 32);
            EXPECT_EQ(bitmap.Height(), 32);
            std::vector<uint8_t> rgb;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    for (uint8_t c : PixelOf(bitmap, x, y)) rgb.push_back(c);
            decoded[name] = rgb;
            ++loaded;
        } else {
            try {
                LoadImageBytes(bitmap, bytes);
                ADD_FAILURE() << "loaded";
            } catch (const EInvalidGraphic& ex) {
                EXPECT_EQ(std::string(ex.what()), LoadStr(65327));
            }
            ++refused;
        }
    }
    EXPECT_GT(loaded, 5);
    EXPECT_GT(refused, 20);
    // A file and its "i" twin hold the same picture.
    int pairs = 0;
    for (const auto& [name, rgb] : decoded) {
        auto twin = decoded.find("i" + name);
        if (twin == decoded.end()) continue;
        EXPECT_EQ(rgb, twin->second) << name;
        ++pairs;
    }
    EXPECT_GT(pairs, 0);
}
