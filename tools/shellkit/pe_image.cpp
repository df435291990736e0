#include "pe_image.h"

#include <cstring>

namespace {

const uint32_t EXPORT_DIRECTORY = 0;
const uint32_t RESOURCE_DIRECTORY = 2;
const uint32_t CERTIFICATE_DIRECTORY = 4;
const uint32_t RESOURCE_TYPE_ICON = 3;
const uint32_t RESOURCE_TYPE_GROUP_ICON = 14;
const uint32_t RESOURCE_TYPE_MANIFEST = 24;
const uint16_t CHARACTERISTIC_DLL = 0x2000;
const uint16_t CHARACTERISTIC_EXECUTABLE = 0x0002;
// Far more than any real image holds; a table claiming more is damaged.
const uint32_t MAX_TABLE_ENTRIES = 65536;

struct Section {
    uint32_t virtualAddress;
    uint32_t virtualSize;
    uint32_t rawSize;
    uint32_t rawOffset;
};

struct Reader {
    const std::vector<uint8_t>& bytes;
    std::vector<Section> sections;

    bool Has(uint64_t offset, uint64_t length) const { return offset <= bytes.size() && length <= bytes.size() - offset; }
    uint16_t U16(uint64_t offset) const { return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8); }
    uint32_t U32(uint64_t offset) const { return U16(offset) | static_cast<uint32_t>(U16(offset + 2)) << 16; }

    // The file offset of `length` bytes at a relative virtual address, or false when they do
    // not lie whole in one section's data.
    bool FileOffset(uint32_t rva, uint32_t length, uint64_t& offset) const
    {
        for (const Section& section : sections) {
            const uint64_t span = section.virtualSize > section.rawSize ? section.virtualSize : section.rawSize;
            if (rva < section.virtualAddress || rva - section.virtualAddress >= span)
                continue;
            const uint64_t inside = rva - section.virtualAddress;
            if (inside + length > section.rawSize)
                return false;
            offset = section.rawOffset + inside;
            return Has(offset, length);
        }
        return false;
    }

    bool String(uint32_t rva, std::string& text) const
    {
        uint64_t offset = 0;
        if (!FileOffset(rva, 1, offset))
            return false;
        const uint8_t* start = bytes.data() + offset;
        const void* end = std::memchr(start, 0, bytes.size() - offset);
        if (end == nullptr)
            return false;
        text.assign(reinterpret_cast<const char*>(start), static_cast<const uint8_t*>(end) - start);
        return true;
    }
};

struct ResourceWalk {
    const Reader& reader;
    uint64_t base;  // file offset of the resource directory
    uint32_t size;

    bool Entries(uint32_t directory, uint32_t& first, uint32_t& count) const
    {
        if (directory > size || !reader.Has(base + directory, 16))
            return false;
        count = static_cast<uint32_t>(reader.U16(base + directory + 12)) + reader.U16(base + directory + 14);
        first = directory + 16;
        return count <= MAX_TABLE_ENTRIES && reader.Has(base + first, uint64_t(count) * 8);
    }

    // Follows the first entry of each level below a type down to its data; false on damage.
    bool FirstData(uint32_t entryValue, int depth, uint32_t& dataRva, uint32_t& dataSize) const
    {
        if ((entryValue & 0x80000000u) == 0) {
            const uint32_t leaf = entryValue;
            if (leaf > size || !reader.Has(base + leaf, 16))
                return false;
            dataRva = reader.U32(base + leaf);
            dataSize = reader.U32(base + leaf + 4);
            return true;
        }
        if (depth > 3)
            return false;
        uint32_t first = 0;
        uint32_t count = 0;
        if (!Entries(entryValue & 0x7FFFFFFFu, first, count) || count == 0)
            return false;
        return FirstData(reader.U32(base + first + 4), depth + 1, dataRva, dataSize);
    }

    // The data of the resource with a numeric name below a type, first language.
    bool DataById(uint32_t typeValue, uint32_t id, uint32_t& dataRva, uint32_t& dataSize) const
    {
        uint32_t first = 0;
        uint32_t count = 0;
        if ((typeValue & 0x80000000u) == 0 || !Entries(typeValue & 0x7FFFFFFFu, first, count))
            return false;
        for (uint32_t i = 0; i < count; ++i)
            if (reader.U32(base + first + i * 8) == id)
                return FirstData(reader.U32(base + first + i * 8 + 4), 2, dataRva, dataSize);
        return false;
    }

    // The first icon group as an .ico file: its directory with file offsets, then its images.
    std::vector<uint8_t> IconFile(uint32_t groupValue, uint32_t iconValue) const
    {
        uint32_t rva = 0;
        uint32_t size = 0;
        uint64_t group = 0;
        if (!FirstData(groupValue, 1, rva, size) || size < 6 || !reader.FileOffset(rva, size, group))
            return {};
        const uint32_t count = reader.U16(group + 4);
        if (count == 0 || size < 6 + count * 14)
            return {};
        std::vector<uint8_t> ico(reader.bytes.begin() + group, reader.bytes.begin() + group + 6);
        std::vector<uint8_t> images;
        for (uint32_t i = 0; i < count; ++i) {
            const uint64_t entry = group + 6 + i * 14;
            uint64_t image = 0;
            if (!DataById(iconValue, reader.U16(entry + 12), rva, size) || !reader.FileOffset(rva, size, image))
                return {};
            ico.insert(ico.end(), reader.bytes.begin() + entry, reader.bytes.begin() + entry + 12);
            const uint32_t offset = 6 + count * 16 + static_cast<uint32_t>(images.size());
            for (int shift = 0; shift < 32; shift += 8)
                ico.push_back(static_cast<uint8_t>(offset >> shift));
            images.insert(images.end(), reader.bytes.begin() + image, reader.bytes.begin() + image + size);
        }
        ico.insert(ico.end(), images.begin(), images.end());
        return ico;
    }

    // How many resources of this type there are (names times languages).
    uint32_t Count(uint32_t entryValue, int depth) const
    {
        if ((entryValue & 0x80000000u) == 0)
            return 1;
        uint32_t first = 0;
        uint32_t count = 0;
        if (depth > 3 || !Entries(entryValue & 0x7FFFFFFFu, first, count))
            return 0;
        uint32_t total = 0;
        for (uint32_t i = 0; i < count; ++i)
            total += Count(reader.U32(base + first + i * 8 + 4), depth + 1);
        return total;
    }
};

// Where the optional header's data directories lie.
struct Directories {
    uint64_t optional = 0;
    uint16_t optionalSize = 0;
    uint64_t first = 0;
    uint32_t count = 0;

    bool Get(const Reader& reader, uint32_t index, uint32_t& rva, uint32_t& size) const
    {
        rva = size = 0;
        const uint64_t at = first + uint64_t(index) * 8;
        if (index >= count || at + 8 > optional + optionalSize)
            return false;
        rva = reader.U32(at);
        size = reader.U32(at + 4);
        return rva != 0 && size != 0;
    }
};

// The MZ, PE and optional headers and the section table.
bool ReadHeaders(Reader& reader, PeImage& image, Directories& directories, std::string& error)
{
    const std::vector<uint8_t>& bytes = reader.bytes;
    if (!reader.Has(0, 64) || bytes[0] != 'M' || bytes[1] != 'Z') {
        error = "not a Windows executable (no MZ header)";
        return false;
    }
    const uint64_t pe = reader.U32(0x3C);
    if (!reader.Has(pe, 24) || std::memcmp(bytes.data() + pe, "PE\0\0", 4) != 0) {
        error = "not a Windows executable (an MZ header without a PE header: a DOS program or a damaged file)";
        return false;
    }
    image.machine = reader.U16(pe + 4);
    const uint16_t sectionCount = reader.U16(pe + 6);
    const uint16_t optionalSize = reader.U16(pe + 20);
    const uint16_t characteristics = reader.U16(pe + 22);
    image.isDll = (characteristics & CHARACTERISTIC_DLL) != 0;
    const uint64_t optional = pe + 24;
    if (!reader.Has(optional, optionalSize) || optionalSize < 2) {
        error = "a damaged Windows executable (its optional header is cut short)";
        return false;
    }
    if ((characteristics & CHARACTERISTIC_EXECUTABLE) == 0) {
        error = "an object file, not a linked executable";
        return false;
    }
    const uint16_t magic = reader.U16(optional);
    const uint64_t directoryCountAt = magic == 0x20B ? optional + 108 : optional + 92;
    if ((magic != 0x10B && magic != 0x20B) || directoryCountAt + 4 > optional + optionalSize) {
        error = "a damaged Windows executable (unknown optional header)";
        return false;
    }
    directories.optional = optional;
    directories.optionalSize = optionalSize;
    directories.first = directoryCountAt + 4;
    directories.count = reader.U32(directoryCountAt);
    const uint64_t sectionTable = optional + optionalSize;
    if (!reader.Has(sectionTable, uint64_t(sectionCount) * 40)) {
        error = "a damaged Windows executable (its section table is cut short)";
        return false;
    }
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const uint64_t at = sectionTable + uint64_t(i) * 40;
        reader.sections.push_back({reader.U32(at + 12), reader.U32(at + 8), reader.U32(at + 16), reader.U32(at + 20)});
    }
    return true;
}

bool ReadExportNames(const Reader& reader, const Directories& directories, std::vector<std::string>& exportNames,
                     std::string& error)
{
    uint32_t rva = 0;
    uint32_t size = 0;
    if (!directories.Get(reader, EXPORT_DIRECTORY, rva, size))
        return true;
    uint64_t table = 0;
    if (!reader.FileOffset(rva, 40, table)) {
        error = "a damaged Windows executable (its export table lies outside the file)";
        return false;
    }
    const uint32_t nameCount = reader.U32(table + 24);
    uint64_t names = 0;
    if (nameCount > MAX_TABLE_ENTRIES || !reader.FileOffset(reader.U32(table + 32), nameCount * 4, names)) {
        error = "a damaged Windows executable (its export names lie outside the file)";
        return false;
    }
    for (uint32_t i = 0; i < nameCount; ++i) {
        std::string name;
        if (!reader.String(reader.U32(names + uint64_t(i) * 4), name)) {
            error = "a damaged Windows executable (an export name lies outside the file)";
            return false;
        }
        exportNames.push_back(name);
    }
    return true;
}

// The icon and the manifest, the only resources the kit looks at.
bool ReadResources(const Reader& reader, const Directories& directories, PeImage& image, std::string& error)
{
    uint32_t rva = 0;
    uint32_t size = 0;
    if (!directories.Get(reader, RESOURCE_DIRECTORY, rva, size))
        return true;
    uint64_t base = 0;
    uint32_t first = 0;
    uint32_t count = 0;
    const bool found = reader.FileOffset(rva, 16, base);
    const ResourceWalk walk{reader, base, size};
    if (!found || !walk.Entries(0, first, count)) {
        error = "a damaged Windows executable (its resources lie outside the file)";
        return false;
    }
    uint32_t groupIcons = 0;
    uint32_t icons = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t type = reader.U32(base + first + i * 8);
        const uint32_t value = reader.U32(base + first + i * 8 + 4);
        if (type == RESOURCE_TYPE_GROUP_ICON) {
            image.hasIcon = walk.Count(value, 1) > 0;
            groupIcons = value;
        }
        if (type == RESOURCE_TYPE_ICON)
            icons = value;
        if (type != RESOURCE_TYPE_MANIFEST)
            continue;
        image.manifestCount = static_cast<int>(walk.Count(value, 1));
        uint32_t dataRva = 0;
        uint32_t dataSize = 0;
        uint64_t data = 0;
        if (walk.FirstData(value, 1, dataRva, dataSize) && reader.FileOffset(dataRva, dataSize, data))
            image.manifest.assign(reinterpret_cast<const char*>(reader.bytes.data() + data), dataSize);
    }
    if (image.hasIcon)
        image.iconFile = walk.IconFile(groupIcons, icons);
    return true;
}

}  // namespace

bool PeImage::Read(const std::vector<uint8_t>& bytes, std::string& error)
{
    *this = PeImage();
    Reader reader{bytes, {}};
    Directories directories;
    if (!ReadHeaders(reader, *this, directories, error))
        return false;
    // The table's place is a file offset, not an address: it lies past every section.
    uint32_t offset = 0;
    uint32_t size = 0;
    hasCertificateTable = directories.Get(reader, CERTIFICATE_DIRECTORY, offset, size) && size >= 8 &&
                          reader.Has(offset, size);
    return ReadExportNames(reader, directories, exportNames, error) && ReadResources(reader, directories, *this, error);
}

bool StartsLikePeImage(const std::vector<uint8_t>& start)
{
    Reader reader{start, {}};
    PeImage image;
    Directories directories;
    std::string error;
    return ReadHeaders(reader, image, directories, error);
}

bool PeImage::Exports(const std::string& name) const
{
    for (const std::string& exported : exportNames)
        if (exported == name)
            return true;
    return false;
}

const char* MachineName(uint16_t machine)
{
    switch (machine) {
    case MACHINE_I386:
        return "32-bit x86";
    case MACHINE_AMD64:
        return "64-bit x64";
    case 0xAA64:
        return "64-bit ARM";
    case 0x01C4:
        return "32-bit ARM";
    default:
        return "an unknown machine";
    }
}

bool ManifestRunsAsInvoker(const std::string& manifest)
{
    const size_t at = manifest.find("requestedExecutionLevel");
    if (at == std::string::npos)
        return false;
    const size_t end = manifest.find('>', at);
    const std::string element = manifest.substr(at, end == std::string::npos ? std::string::npos : end - at);
    return element.find("\"asInvoker\"") != std::string::npos || element.find("'asInvoker'") != std::string::npos;
}
