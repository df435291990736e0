#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include "closing_fit.h"
#include "file_system.h"

const char MEASURING_METHOD[] =
    "estimated with FreeType from Liberation Sans, the face Wine draws the shell's font with";

namespace {

const char* const FONT_FILES[] = {
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/liberation-sans/LiberationSans-Regular.ttf",
};

int PixelsForPoints(int points)
{
    return (points * 96 + 36) / 72;
}

// Glyph advances hinted at the pixel size, and the height as GDI reports a TrueType font's:
// its Windows ascent plus descent, each rounded to pixels.
struct FreeTypeMeasurer : TextMeasurer {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int sizedFor = 0;

    ~FreeTypeMeasurer() override
    {
        if (face != nullptr)
            FT_Done_Face(face);
        if (library != nullptr)
            FT_Done_FreeType(library);
    }

    uint32_t MeasurePrefixes(int points, const char* run, uint32_t length, uint32_t* widths) override
    {
        const int pixels = PixelsForPoints(points);
        if (sizedFor != pixels) {
            FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels));
            sizedFor = pixels;
        }
        uint32_t width = 0;
        for (uint32_t i = 0; i < length; ++i) {
            const FT_UInt glyph = FT_Get_Char_Index(face, static_cast<unsigned char>(run[i]));
            if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) == 0)
                width += static_cast<uint32_t>((face->glyph->advance.x + 32) >> 6);
            widths[i] = width;
        }
        const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        const long units = face->units_per_EM;
        if (os2 == nullptr || units <= 0)
            return 0;
        const long ascent = (os2->usWinAscent * pixels + units / 2) / units;
        const long descent = (os2->usWinDescent * pixels + units / 2) / units;
        return static_cast<uint32_t>(ascent + descent);
    }
};

}  // namespace

TextMeasurer* OpenTextMeasurer(std::string& error)
{
    FreeTypeMeasurer* measurer = new FreeTypeMeasurer;
    if (FT_Init_FreeType(&measurer->library) != 0) {
        delete measurer;
        error = "FreeType could not start";
        return nullptr;
    }
    for (const char* file : FONT_FILES) {
        if (PathExists(file) && FT_New_Face(measurer->library, file, 0, &measurer->face) == 0)
            return measurer;
        measurer->face = nullptr;
    }
    delete measurer;
    error = "LiberationSans-Regular.ttf was not found (Debian package fonts-liberation)";
    return nullptr;
}
