#include "drawing/RenderFile.h"
#include "files/GraphFile.h"
#include "files/GraphRecord.h"
#include "tests/support/GraphSamples.h"

#include <algorithm>
#include <cairo.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <locale.h>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
struct ToolRun {
    int status;
    std::string output;
};

// `environment` is put before the command, as a shell takes it.
ToolRun gd2(const std::string& args, const std::string& environment = {})
{
    const std::string command = environment + " " + GD2_TOOL + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ToolRun run { -1, {} };
    if (!pipe)
        return run;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class Gd2Tool : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("plotwell-gd2-" + std::to_string(getpid()));
        fs::create_directories(dir);
        GraphDocument d;
        d.yScale = 1;
        d.pointCount[0] = 3;
        const float values[] = { 9, 1, 2 };
        for (int j = 0; j < 3; ++j) {
            d.pixelX[0][j] = 100 + 100 * j;
            d.valueY[0][j] = values[j];
            d.pixelY[0][j] = 378 - values[j];
        }
        std::snprintf(d.title, kTitleSize, "Weekly sales");
        d.connectPoints = 1;
        GraphRecord rec = recordOf(d);
        std::string error;
        ASSERT_TRUE(writeGraphFile((dir / "sales.gd2").string(), rec, error)) << error;
        std::ofstream(dir / "short.gd2", std::ios::binary) << "too short";
        // As the old program saved a title longer than its slot.
        std::memset(&rec.bytes[RecordLayout::title], 'T', RecordLayout::titleSlotSize);
        std::ofstream(dir / "old.gd2", std::ios::binary)
            .write(reinterpret_cast<const char*>(rec.bytes.data()), kGraphRecordSize);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

TEST_F(Gd2Tool, InfoShowsTheGraphAndItsStatistics)
{
    const ToolRun run = gd2("info " + path("sales.gd2"));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("title: \"Weekly sales\""), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("curve 1: 3 points, mean 4.00, weighted mean 3.50"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("curve 2: 0 points"), std::string::npos);
}

TEST_F(Gd2Tool, InfoPrintsTextsInUtf8WithControlCharactersEscaped)
{
    GraphDocument d;
    d.yScale = 1;
    std::snprintf(d.title, kTitleSize, "\x80 caf\xE9 \x1B[2J\"\\\x81");
    std::snprintf(d.captions[1], kCaptionSize, "\x9F\x07");
    std::string error;
    ASSERT_TRUE(writeGraphFile(path("texts.gd2"), recordOf(d), error)) << error;
    const ToolRun run = gd2("info " + path("texts.gd2"));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("title: \"\u20ac caf\u00e9 \\x1B[2J\\\"\\\\\\x81\"\n"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("caption \"\u0178\\x07\""), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find('\x1B'), std::string::npos);
}

TEST_F(Gd2Tool, CheckFailsOnAnyFileThatWouldNotOpen)
{
    EXPECT_EQ(gd2("check " + path("sales.gd2")).status, 0);
    const ToolRun bad = gd2("check " + path("sales.gd2") + " " + path("short.gd2"));
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.output.find("short.gd2"), std::string::npos) << bad.output;
    EXPECT_EQ(gd2("check " + path("missing.gd2")).status, 1);
}

TEST_F(Gd2Tool, RendersAnImageOfTheWindowSize)
{
    const std::string png = path("sales.png");
    const ToolRun rendered = gd2("render " + path("sales.gd2") + " " + png);
    ASSERT_EQ(rendered.status, 0) << rendered.output;
    cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), 750);
    EXPECT_EQ(cairo_image_surface_get_height(image), 545);
    cairo_surface_destroy(image);

    EXPECT_EQ(gd2("render " + path("sales.gd2") + " " + path("sales.pdf") + " --print").status, 0);
    EXPECT_GT(fs::file_size(dir / "sales.pdf"), 0u);
    EXPECT_NE(gd2("render " + path("short.gd2") + " " + path("x.png")).status, 0);
    EXPECT_FALSE(fs::exists(dir / "x.png"));
    EXPECT_EQ(gd2("render").status, 2);
    // A pipe in the output's place is refused, with the reason.
    ASSERT_EQ(mkfifo(path("pipe.svg").c_str(), 0644), 0);
    const ToolRun refused = gd2("render " + path("sales.gd2") + " " + path("pipe.svg"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find("pipe.svg\": it is not a regular file"), std::string::npos)
        << refused.output;
}

TEST_F(Gd2Tool, CommandsExitZeroOneOrTwoAndNameTheFileOnFailure)
{
    const struct {
        std::string args;
        int status;
        const char* says;
    } cases[] = {
        { "--help", 0, "usage: gd2 info" },
        { "--help", 0, "  --out-dir DIR   write each FILE's picture into DIR (made if missing)" },
        { "--version", 0, "gd2 (Plotwell) 2.0" },
        { "", 2, "usage:" },
        { "frobnicate x", 2, "unknown command frobnicate" },
        { "info --bogus " + path("sales.gd2"), 2, "unknown option --bogus" },
        { "render " + path("sales.gd2"), 2, "render takes FILE" },
        { "render " + path("sales.gd2") + " -o " + path("f.png") + " --print --figure", 2,
            "two different pictures" },
        { "info " + path("sales.gd2") + " " + path("short.gd2"), 1, "short.gd2" },
        { "check " + path("sales.gd2") + " " + path("short.gd2"), 1, "sales.gd2: ok" },
        { "check - < " + path("sales.gd2"), 0, "-: ok" },
        { "check - < " + path("short.gd2"), 1, "-: refused: it is not a graph file" },
        { "check " + path("old.gd2"), 0,
            "old.gd2: ok, repaired: The title was longer than a graph file holds" },
        { "info " + path("old.gd2"), 0, "old.gd2: repaired: The title" },
        { "repair " + path("old.gd2") + " -o " + path("new.gd2"), 0, "old.gd2: repaired: The title" },
        { "check " + path("new.gd2"), 0, "new.gd2: ok\n" },
        { "repair " + path("new.gd2") + " --in-place", 0, "new.gd2: ok, nothing to repair" },
        { "repair " + path("old.gd2"), 2, "repair takes FILE -o OUT" },
        { "check " + path("short.gd2"), 1, "short.gd2: refused: it is not a graph file" },
        { "render " + path("sales.gd2") + " --out-dir " + path("new/pics"), 0, "" },
        { "render " + path("sales.gd2") + " --out-dir " + path("sales.gd2/x"), 1, "sales.gd2/x: " },
        { "csv " + path("sales.gd2") + " " + path("sales.gd2"), 2, "csv takes one file" },
    };
    for (const auto& c : cases) {
        const ToolRun run = gd2(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << c.args << "\n" << run.output;
    }
}

// A record written field by field at its offsets comes out of --json and
// csv with every field, the same in any locale.
TEST_F(Gd2Tool, JsonAndCsvGiveEveryStoredField)
{
    namespace L = RecordLayout;
    GraphRecord r;
    putInt32(r, L::pointCount + 4, 2);
    putFloat32(r, L::curveEntry(L::pixelX, 1, 0), 60);
    putFloat32(r, L::curveEntry(L::pixelY, 1, 0), 306.5f);
    putFloat32(r, L::curveEntry(L::valueY, 1, 0), 0.1f);
    putFloat32(r, L::curveEntry(L::pixelX, 1, 1), 720);
    putFloat32(r, L::curveEntry(L::pixelY, 1, 1), 18);
    putFloat32(r, L::curveEntry(L::valueY, 1, 1), 100);
    putFloat32(r, L::yMax, 100);
    putFloat32(r, L::yScale, 3.6f);
    putFloat32(r, L::percentError, 12.5f);
    putInt32(r, L::yRangeSet, 1);
    putInt32(r, L::xLabelCount, 1);
    putInt32(r, L::labelSpacing, 600);
    putInt32(r, L::divisionsPerLabel, 3);
    putInt32(r, L::connectPoints, 7);
    std::memcpy(&r.bytes[L::labelSlot(0)], "Jan", 4);
    std::memcpy(&r.bytes[L::captionSlot(1)], "a\"b\x80", 5);
    std::memcpy(&r.bytes[L::title], "T\x1B", 3);
    putInt32(r, L::captionBoxX, 500);
    r.bytes[L::thickLines] = 1;
    std::string error;
    ASSERT_TRUE(writeGraphFile(path("fields.gd2"), r, error)) << error;

    const ToolRun json = gd2("info --json " + path("fields.gd2"));
    ASSERT_EQ(json.status, 0) << json.output;
    for (const char* field : { "\"title\":\"T\\u001B\"", "\"xLabels\":[\"Jan\"]", "\"labelSpacing\":600",
             "\"divisionsPerLabel\":3", "\"yRange\":{\"min\":0,\"max\":100,\"scale\":3.6,\"set\":true}",
             "\"percentError\":12.5", "\"connect\":true,\"large\":false", "\"errorBars\":true",
             "\"thick\":true", "\"captions\":[\"\",\"a\\\"b\u20ac\",\"\"]",
             "\"captionBox\":{\"x\":500,\"y\":0,\"placed\":false}",
             "{\"points\":[],\"mean\":null,\"weightedMean\":null}",
             "{\"x\":10,\"pixelX\":60,\"pixelY\":306.5,\"y\":0.1}",
             "{\"x\":670,\"pixelX\":720,\"pixelY\":18,\"y\":100}", "\"mean\":50.05" })
        EXPECT_NE(json.output.find(field), std::string::npos) << field << "\n" << json.output;
    EXPECT_EQ(std::count(json.output.begin(), json.output.end(), '\n'), 1);

    const ToolRun csv = gd2("csv " + path("fields.gd2"));
    EXPECT_EQ(csv.output, "curve,x,y\n2,10,0.1\n2,670,100\n");
    // A comma-decimal locale changes nothing.
    const locale_t comma = newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr);
    ASSERT_NE(comma, nullptr) << "the set-up script generates de_DE.UTF-8";
    freelocale(comma);
    EXPECT_EQ(
        gd2("csv " + path("fields.gd2"), "LC_ALL=de_DE.UTF-8 LC_NUMERIC=de_DE.UTF-8").output, csv.output);
}

TEST_F(Gd2Tool, RendersSeveralFilesIntoAFolder)
{
    fs::create_directory(dir / "out");
    const ToolRun run = gd2("render " + path("sales.gd2") + " " + path("short.gd2") + " --out-dir "
        + path("out") + " --format svg");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("short.gd2"), std::string::npos) << run.output;
    EXPECT_TRUE(fs::exists(dir / "out" / "sales.svg"));
    EXPECT_FALSE(fs::exists(dir / "out" / "short.svg"));
    // Two inputs of one name: the first picture stays, the second is refused.
    fs::create_directory(dir / "other");
    fs::copy_file(dir / "sales.gd2", dir / "other" / "sales.gd2");
    const ToolRun twice = gd2("render " + path("sales.gd2") + " " + path("other/sales.gd2") + " --out-dir "
        + path("out") + " --format svg");
    EXPECT_EQ(twice.status, 1);
    EXPECT_NE(twice.output.find("other/sales.gd2: not rendered: its picture"), std::string::npos)
        << twice.output;

    EXPECT_EQ(gd2("render " + path("sales.gd2") + " -o " + path("out/one.pdf") + " --print").status, 0);
    EXPECT_TRUE(fs::exists(dir / "out" / "one.pdf"));
}

// Each picture is the window's own paint of the file, pixel for pixel; at
// --scale N it has N x N pixels for each; --print gives the A4 page.
TEST_F(Gd2Tool, RendersAreTheWindowsPaintAtAnyScaleAndThePrintedPage)
{
    GraphRecord rec;
    std::string error;
    ASSERT_TRUE(readGraphFile(path("sales.gd2"), rec, error)) << error;
    GraphDocument d;
    d.yScale = 1;
    unpackRecordDocument(rec, d);
    settleReadOptions(d);
    cairo_surface_t* window = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 750, 545);
    cairo_t* cr = cairo_create(window);
    paintWindowPicture(cr, d);
    cairo_destroy(cr);
    cairo_surface_flush(window);

    fs::copy_file(dir / "sales.gd2", dir / "again.gd2");
    for (int scale : { 1, 2, 3 }) {
        const std::string out = path(("x" + std::to_string(scale)).c_str());
        fs::create_directory(out);
        const ToolRun run = gd2("render " + path("sales.gd2") + " " + path("again.gd2") + " --out-dir " + out
            + " --scale " + std::to_string(scale));
        ASSERT_EQ(run.status, 0) << run.output;
        for (const char* name : { "/sales.png", "/again.png" }) {
            cairo_surface_t* image = cairo_image_surface_create_from_png((out + name).c_str());
            ASSERT_EQ(cairo_image_surface_get_width(image), 750 * scale);
            ASSERT_EQ(cairo_image_surface_get_height(image), 545 * scale);
            const auto pixel = [](cairo_surface_t* s, int x, int y) {
                return reinterpret_cast<const std::uint32_t*>(
                           cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s))[x]
                    & 0xFFFFFF;
            };
            int differing = 0;
            // Straight lines become whole blocks of device pixels; text,
            // slanted lines and round pen ends are drawn afresh at the finer
            // grid, so beyond 1:1 only the frame's right edge and its top
            // edge left of the title are compared, every device pixel of
            // each block.
            for (int y = 0; y < 545 * scale; ++y)
                for (int x = 0; x < 750 * scale; ++x) {
                    const int wx = x / scale, wy = y / scale;
                    const bool edge = (wy >= 18 && wy <= 22 && wx >= 60 && wx <= 200)
                        || (wx >= 698 && wx <= 702 && wy >= 18 && wy <= 370);
                    if (scale == 1 || edge)
                        differing += pixel(window, wx, wy) != pixel(image, x, y);
                }
            EXPECT_EQ(differing, 0) << name << " at scale " << scale;
            cairo_surface_destroy(image);
        }
    }
    ASSERT_EQ(gd2("render " + path("sales.gd2") + " -o " + path("page.png") + " --print").status, 0);
    cairo_surface_t* page = cairo_image_surface_create_from_png(path("page.png").c_str());
    EXPECT_EQ(cairo_image_surface_get_width(page), 595);
    EXPECT_EQ(cairo_image_surface_get_height(page), 842);
    // Scaled below a pixel per unit, the thin frame still shows: its right
    // edge lands at 18 + 700 * 559.3 / 742 points.
    int black = 0;
    for (int x = 540; x < 552; ++x)
        black += (reinterpret_cast<const std::uint32_t*>(
                      cairo_image_surface_get_data(page) + 150 * cairo_image_surface_get_stride(page))[x]
                     & 0xFFFFFF)
            == 0;
    EXPECT_GE(black, 1) << "the frame's right edge is missing from the page";
    cairo_surface_destroy(page);
    EXPECT_EQ(gd2("render " + path("sales.gd2") + " -o " + path("no.png") + " --scale 9").status, 2);
    cairo_surface_destroy(window);

    // The figure is the picture Copy puts on the clipboard, byte for byte:
    // the part above the controls, on white, with no default X scale under
    // the plot.
    for (int scale : { 1, 2 }) {
        ASSERT_EQ(gd2("render " + path("sales.gd2") + " -o " + path("fig.png") + " --figure --scale "
                      + std::to_string(scale))
                      .status,
            0);
        std::ifstream in(path("fig.png"), std::ios::binary);
        const std::string file { std::istreambuf_iterator<char>(in), {} };
        std::string copied;
        RenderLayout layout;
        layout.figure = true;
        layout.scale = scale;
        ASSERT_TRUE(renderPicture(d, layout, PictureFormat::png, copied, error)) << error;
        EXPECT_TRUE(file == copied) << "scale " << scale;
        cairo_surface_t* fig = cairo_image_surface_create_from_png(path("fig.png").c_str());
        ASSERT_EQ(cairo_image_surface_get_width(fig), 742 * scale);
        ASSERT_EQ(cairo_image_surface_get_height(fig), 400 * scale);
        int notWhite = 0;
        for (int y = 385 * scale; y < 400 * scale; ++y)
            for (int x = 0; x < 742 * scale; ++x)
                notWhite += (reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(fig)
                                 + y * cairo_image_surface_get_stride(fig))[x]
                                & 0xFFFFFF)
                    != 0xFFFFFF;
        EXPECT_EQ(notWhite, 0) << "scale " << scale;
        cairo_surface_destroy(fig);
    }
}

// A graph made from rows reads back with every setting, each point where
// typing it would put it, and equal X in the order of the rows.
TEST_F(Gd2Tool, NewMakesTheGraphTheWindowWouldFromRows)
{
    std::ofstream(dir / "rows.csv")
        << "\xEF\xBB\xBF"
           "Curve, X, Y\r\n2,300,-1.5\r\n\r\n1,670,10\n\"1\", \"0\" ,\"0\"\n1,300,2\n1,300,1\n";
    const ToolRun made = gd2("new -o " + path("made.gd2")
        + " --title 'Caf\u00e9 sales' --labels Q1,Q2,Q3 "
          "--divisions 4 --ymin -2 --ymax 10 --error 5 --connect --large --label-points --thick "
          "--captions North,South --caption-box 600,40 "
        + path("rows.csv"));
    ASSERT_EQ(made.status, 0) << made.output;
    EXPECT_EQ(fs::file_size(dir / "made.gd2"), kGraphRecordSize);
    const ToolRun json = gd2("info --json " + path("made.gd2"));
    for (const char* field : { "\"title\":\"Caf\u00e9 sales\"", "\"xLabels\":[\"Q1\",\"Q2\",\"Q3\"]",
             "\"labelSpacing\":200,\"divisionsPerLabel\":4",
             "\"yRange\":{\"min\":-2,\"max\":10,\"scale\":30,\"set\":true}", "\"yTicks\":[-2,",
             "\"percentError\":5",
             "{\"connect\":true,\"large\":true,\"labels\":true,\"errorBars\":true,"
             "\"thick\":true}",
             "{\"points\":[{\"x\":0,\"pixelX\":50,\"pixelY\":318,\"y\":0},{\"x\":300,\"pixelX\":350,"
             "\"pixelY\":258,\"y\":2},{\"x\":300,\"pixelX\":350,\"pixelY\":288,\"y\":1},{\"x\":670,"
             "\"pixelX\":720,\"pixelY\":18,\"y\":10}]",
             "{\"points\":[{\"x\":300,\"pixelX\":350,\"pixelY\":363,\"y\":-1.5}]",
             "\"captions\":[\"North\",\"South\",\"\"],\"captionBox\":{\"x\":600,\"y\":40,\"placed\":true}" })
        EXPECT_NE(json.output.find(field), std::string::npos) << field << "\n" << json.output;
    EXPECT_EQ(
        gd2("csv " + path("made.gd2")).output, "curve,x,y\n1,0,0\n1,300,2\n1,300,1\n1,670,10\n2,300,-1.5\n");
    // The rows Paste takes: two columns under a header of words, in curve 1
    // or the one --curve names, each number as its box reads it.
    for (const auto& [args, rows, csv] : {
             std::tuple { "", "x,y\n10,5\n1.00E+02,8\n", "1,10,5\n1,100,8\n" },
             std::tuple { "--curve 3", "Month;Rain\n12,9;17,5\n", "3,12,17.5\n" },
             std::tuple { "--curve 2", "X\tY\n5\t1\n", "2,5,1\n" },
         }) {
        std::ofstream(dir / "two.csv") << rows;
        const ToolRun two
            = gd2(std::string("new -o ") + path("two.gd2") + " " + args + " " + path("two.csv"));
        ASSERT_EQ(two.status, 0) << rows << two.output;
        EXPECT_EQ(gd2("csv " + path("two.gd2")).output, std::string("curve,x,y\n") + csv) << rows;
    }
}

// Whatever the window refuses is refused with its message and where it
// was found, and nothing is written.
TEST_F(Gd2Tool, NewRefusesWhatTheWindowRefusesAndWritesNothing)
{
    const std::string out = " -o " + path("refused.gd2") + " ";
    const struct {
        std::string args, rows;
        int status;
        const char* says;
    } cases[] = {
        { "", "1,671,0\n", 1, "standard input:1: The X-value if off the graph!" },
        { "", "1,-1,0\n", 1, "The X-value if off the graph!" },
        { "", "\n1,5,361\n", 1, "standard input:2: The Y-value if off the graph!" },
        { "--ymin 0 --ymax 1", "3,5,-0.5\n", 1, "The Y-value if off the graph!" },
        { "", "4,5,1\n", 1, "standard input:1: not an X and a Y value (or a curve, X and Y): \"4,5,1\"" },
        { "", "x,y\n1,5x\n", 1, "standard input:2: not an X and a Y value" },
        { "", "1,5,nan\n", 1, "not an X and a Y value" },
        { "", "1,5,1,2\n", 1, "not an X and a Y value" },
        { "--curve 4", "", 2, "--curve needs 1, 2 or 3" },
        { "--ymin 0 --ymax 3e38", "1,0,3e38\n1,1,3e38\n", 1,
            "standard input:2: The values of Curve No.1 would add up to more than the program can hold" },
        { "--labels A-b --ymin 0 --ymax 1", "", 1, "X-Label 1: This X-Label contains an illegal character." },
        { "--labels ABCDEFGHIJKL --ymin 0 --ymax 1", "", 1, "X-Label 1 is longer than 11 characters" },
        { "--labels " + std::string(41, ',') + "A --ymin 0 --ymax 1", "", 1,
            "Illegal number, X-axis labels must be between 1 and 20 inclusive" },
        { "--labels A,B --divisions 301 --ymin 0 --ymax 1", "", 1,
            "Divisions per Label must be between 1 and 300" },
        { "--labels A", "", 1, "The Maximum Y-Value must differ from the Minimum Y-Value" },
        { "--ymin 1e39 --ymax 2", "", 1, "The Y-Values are too large or too close together" },
        { "--ymin 0 --ymax 1 --error 101", "", 1, "Error must be expressed as percentage" },
        { "--title " + std::string(37, 'x'), "", 1, "The title is longer than 36 characters" },
        { "--title \"$(printf '\\200')\"", "", 1,
            "The title is not UTF-8 or holds a character a graph file cannot store" },
        { "", std::string(70000, '1'), 1, "standard input:1: the line is longer than 65536 characters" },
        { "--captions \"$(printf 'a\\033b')\"", "", 1, "The caption of curve 1 holds a control character" },
        { "--captions " + std::string(25, 'c'), "", 1,
            "The caption of curve 1 is longer than 24 characters" },
        { "--captions a,b,c,d", "", 1, "captions for three curves at most" },
        { "--caption-box 742,0", "", 1, "the caption box must start inside the window" },
        { "--ymin 1", "", 2, "--ymin and --ymax go together" },
        { "--error", "", 2, "--error needs a percentage" },
    };
    for (const auto& c : cases) {
        std::ofstream(dir / "in.csv") << c.rows;
        const ToolRun run = gd2("new" + out + c.args + " - < " + path("in.csv"));
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << c.args << "\n" << run.output;
        EXPECT_FALSE(fs::exists(dir / "refused.gd2")) << c.args;
    }
    std::string full;
    for (int k = 0; k <= kMaxPoints; ++k)
        full += "2,0,0\n";
    std::ofstream(dir / "full.csv") << full;
    const ToolRun run = gd2("new" + out + path("full.csv"));
    EXPECT_NE(
        run.output.find("full.csv:251: You already have the mzximum number of points (250) in Curve No.2"),
        std::string::npos)
        << run.output;
    EXPECT_FALSE(fs::exists(dir / "refused.gd2"));
}
} // namespace
