// Writes the seed corpus the fuzz targets start from and the tests replay:
// graphs the program makes, each limit the record checks guard broken once,
// short and long files, typed numbers and texts, drawing-call streams.
//   build/make_fuzz_seeds fuzz/corpus
#include "files/GraphRecord.h"
#include "tests/support/GraphSamples.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace fs = std::filesystem;
namespace L = RecordLayout;

namespace {
void write(const fs::path& p, const void* data, std::size_t size)
{
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary)
        .write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void write(const fs::path& p, const std::string& s) { write(p, s.data(), s.size()); }

GraphRecord packed(const GraphDocument& d)
{
    GraphRecord r;
    packRecord(d, r);
    return r;
}

GraphRecord smallGraph()
{
    GraphDocument d;
    setYRange(d, 0, 100, 10);
    setXLabels(d, 3, 4);
    std::strcpy(d.title, "Rain \x80 caf\xE9");
    std::strcpy(d.captions[0], "North");
    d.captionsPlaced = 1;
    d.captionBoxX = 600;
    d.captionBoxY = 40;
    addPoint(d, 0, 10, 20);
    addPoint(d, 0, 300, 80);
    addPoint(d, 2, 600, 50);
    d.connectPoints = d.labelPoints = 1;
    return packed(d);
}
} // namespace

int main(int argc, char** argv)
{
    const fs::path root = argc > 1 ? argv[1] : "fuzz/corpus";
    const fs::path records = root / "records";
    constexpr float inf = std::numeric_limits<float>::infinity();

    write(records / "empty.gd2", GraphRecord {}.bytes.data(), kGraphRecordSize);
    write(records / "maximal.gd2", packed(*maximalGraph()).bytes.data(), kGraphRecordSize);
    const GraphRecord small = smallGraph();
    write(records / "small.gd2", small.bytes.data(), kGraphRecordSize);
    {
        GraphDocument d;
        d.yScale = 1;
        for (int j = 0; j < 40; ++j)
            addPoint(d, 1, j * 16, static_cast<float>(j * 9));
        d.largePoints = 1;
        d.thickLines = 1;
        write(records / "no-range.gd2", packed(d).bytes.data(), kGraphRecordSize);
    }
    // A printed page: the byte after the record asks the paint target to print.
    {
        std::vector<std::uint8_t> printed(small.bytes.begin(), small.bytes.end());
        printed.push_back(1);
        write(records / "small-printed.gd2", printed.data(), printed.size());
    }
    write(records / "short.gd2", small.bytes.data(), 4992);

    const struct {
        const char* name;
        std::function<void(GraphRecord&)> breakIt;
    } broken[] = {
        { "count-300", [](GraphRecord& r) { putInt32(r, L::pointCount + 4, 300); } },
        { "count-negative", [](GraphRecord& r) { putInt32(r, L::pointCount, -1); } },
        { "labels-21", [](GraphRecord& r) { putInt32(r, L::xLabelCount, 21); } },
        { "label-unterminated", [](GraphRecord& r) { std::memset(&r.bytes[L::labelSlot(1)], 'a', 13); } },
        { "title-unterminated", [](GraphRecord& r) { std::memset(&r.bytes[L::title], 'a', 37); } },
        { "ymin-inf", [&](GraphRecord& r) { putFloat32(r, L::yMin, inf); } },
        { "scale-zero", [](GraphRecord& r) { putFloat32(r, L::yScale, 0); } },
        { "percent-huge", [](GraphRecord& r) { putFloat32(r, L::percentError, 1e30f); } },
        { "sums-overflow",
            [](GraphRecord& r) {
                putFloat32(r, L::curveEntry(L::valueY, 0, 0), 3.4e38f);
                putFloat32(r, L::curveEntry(L::valueY, 0, 1), 3.4e38f);
            } },
        { "x-far", [](GraphRecord& r) { putFloat32(r, L::curveEntry(L::pixelX, 0, 1), 3e9f); } },
        { "spacing-negative", [](GraphRecord& r) { putInt32(r, L::labelSpacing, -5); } },
        { "caption-box-far", [](GraphRecord& r) { putInt32(r, L::captionBoxY, -2000000000); } },
        { "divisions-odd", [](GraphRecord& r) { putInt32(r, L::divisionsPerLabel, -3); } },
        { "flags-odd",
            [](GraphRecord& r) {
                putInt32(r, L::largePoints, 5);
                r.bytes[L::thickLines] = 200;
            } },
    };
    for (const auto& b : broken) {
        GraphRecord r = small;
        b.breakIt(r);
        write(records / (std::string(b.name) + ".gd2"), r.bytes.data(), kGraphRecordSize);
    }

    const char* numbers[] = { "0", "670", "-1", "  +12abc", "1e2", "3.4e38", "1e39", "-0.5", "nan", "inf",
        "0x10", "99999999999999999999", "1.", ".5", "1e-45", "12,5", "" };
    int n = 0;
    for (const char* s : numbers)
        write(root / "numbers" / ("n" + std::to_string(n++)), s);

    const char* texts[] = { "Rain", "caf\xE9 \x80", "\x81\x8D\x8F\x90\x9D", "\xC3\xA9 \xE2\x82\xAC",
        "\xE2\x9C\x93", "\x1B[2J", "\xFF\xFE", "" };
    n = 0;
    for (const char* s : texts)
        write(root / "texts" / ("t" + std::to_string(n++)), s);

    // Rows for a graph made from data; the first byte picks the settings.
    const std::string rows[] = { std::string(1, '\0') + "curve,x,y\n1,0,0\n2,670,360\n3,300,1.5e2\r\n",
        "\x01 1 , 10 , -0.5\n\n1,10,1e-30\n",
        "\x1f"
        "2,5,1\n1,5,x\n",
        "\x07"
        "1,0,3e38\n1,1,3e38\n",
        std::string(1, '\0') + "1,671,0\n4,0,0\n1,0\n" };
    n = 0;
    for (const std::string& s : rows)
        write(root / "rows" / ("r" + std::to_string(n++)), s);

    // Drawing: a pen, a line, a rectangle and a text in turn.
    const std::string drawing[] = {
        std::string("\x01\x02\x00\x00\x00\x00\x03\x09\x00\x00\x00\x10\x00\x00\x00\x00\x20", 17),
        std::string(
            "\x00\x06\x00\x00\x00\x00\x05\x00\x00\x00\x00\x06\x00\x00\x00\x00\x50\x00\x00\x00\x00\x40", 22),
        std::string("\x00\x0a\x00\x00\x00\x00\x0a\x00\x00\x00\x00\x14\x05Hello", 20),
    };
    n = 0;
    for (const std::string& s : drawing)
        write(root / "drawing" / ("d" + std::to_string(n++)), s);
    return 0;
}
