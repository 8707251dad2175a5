// Rendering a graph to PNG, SVG and PDF files with no display, and what a
// failed render leaves on disk: nothing new, and the old file untouched.

#include "drawing/RenderFile.h"
#include "tests/core/AsUser.h"
#include "tests/core/SmallDisk.h"
#include "tests/support/GraphSamples.h"
#include "tests/support/SkipOrFail.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class RenderFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("DISPLAY");
        char pattern[] = "/tmp/plotwell-render-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    static std::string contents(const std::string& p)
    {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // Names in the folder, hidden temporary files included.
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir;
};

} // namespace

TEST_F(RenderFile, WritesEachFormatByItsExtension)
{
    const auto d = maximalGraph();
    std::string error;
    ASSERT_TRUE(renderGraph(*d, path("graph.png"), error)) << error;
    EXPECT_TRUE(error.empty());
    ASSERT_TRUE(renderGraph(*d, path("graph.SVG"), error)) << error;
    ASSERT_TRUE(renderGraph(*d, path("graph.pdf"), error, 400, 300)) << error;
    EXPECT_EQ(entries(), (std::vector<std::string> { "graph.SVG", "graph.pdf", "graph.png" }));

    EXPECT_EQ(contents(path("graph.png")).substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_NE(contents(path("graph.SVG")).find("<svg"), std::string::npos);
    EXPECT_EQ(contents(path("graph.pdf")).substr(0, 5), "%PDF-");

    // The PNG is the window: its size, the grey background, the black frame.
    cairo_surface_t* png = cairo_image_surface_create_from_png(path("graph.png").c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 750);
    EXPECT_EQ(cairo_image_surface_get_height(png), 545);
    const auto* px = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(png));
    const int stride = cairo_image_surface_get_stride(png) / 4;
    EXPECT_EQ(px[540 * stride + 5] & 0xFFFFFF, 0xC0C0C0u);
    EXPECT_EQ(px[20 * stride + 690] & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(px[379 * stride + 699] & 0xFFFFFF, 0x000000u);
    cairo_surface_destroy(png);
}

TEST_F(RenderFile, TheSameGraphGivesTheSameBytesWithADateOnlyWhenAsked)
{
    const auto d = maximalGraph();
    const struct {
        const char* epoch; // SOURCE_DATE_EPOCH, or null for none
        const char* pdfDate; // what the PDF says it was made, or null for nothing
    } cases[] = { { nullptr, nullptr }, { "1700000000", "(20231114221320Z)" }, { "junk", nullptr } };
    for (const auto& c : cases) {
        if (c.epoch)
            setenv("SOURCE_DATE_EPOCH", c.epoch, 1);
        else
            unsetenv("SOURCE_DATE_EPOCH");
        for (const char* ext : { ".png", ".svg", ".pdf" }) {
            std::string error;
            ASSERT_TRUE(renderGraph(*d, path(std::string("a") + ext), error)) << error;
            ASSERT_TRUE(renderGraph(*d, path(std::string("b") + ext), error)) << error;
            EXPECT_EQ(contents(path(std::string("a") + ext)), contents(path(std::string("b") + ext))) << ext;
        }
        const std::string pdf = contents(path("a.pdf"));
        const std::size_t date = pdf.find("/CreationDate ");
        EXPECT_EQ(date == std::string::npos ? "" : pdf.substr(date + 14, 17), c.pdfDate ? c.pdfDate : "");
    }
    unsetenv("SOURCE_DATE_EPOCH");
}

// An old picture is replaced whole and keeps its permissions; one with a
// second name is written where it stands, so both names show the new
// picture; a thumbnail goes into the very file its host holds open.
TEST_F(RenderFile, ReplacesAnOldFileWholeAndKeepsItsPermissions)
{
    const std::string target = path("old.png");
    for (const char* how : { "alone", "linked", "held" }) {
        SCOPED_TRACE(how);
        std::ofstream(target) << std::string(500000, 'x');
        ASSERT_EQ(chmod(target.c_str(), 0640), 0);
        const std::string other = path("other.png");
        if (how[0] == 'l') {
            ASSERT_EQ(link(target.c_str(), other.c_str()), 0);
        }
        struct stat before, st;
        ASSERT_EQ(stat(target.c_str(), &before), 0);
        GraphDocument d;
        RenderLayout layout;
        layout.thumbnail = how[0] == 'h' ? 128 : 0;
        std::string error;
        ASSERT_TRUE(renderGraph(d, target, error, layout)) << error;
        const std::string bytes = contents(target);
        EXPECT_EQ(bytes.substr(0, 4), "\x89PNG");
        EXPECT_EQ(bytes.find("xxxx"), std::string::npos);
        ASSERT_EQ(stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0640u);
        EXPECT_EQ(st.st_ino == before.st_ino, how[0] != 'a');
        if (how[0] == 'l') {
            EXPECT_EQ(contents(other), bytes);
            unlink(other.c_str());
        }
        EXPECT_EQ(entries(), (std::vector<std::string> { "old.png" }));
    }
}

TEST_F(RenderFile, FailuresSayWhyAndLeaveTheDiskAsItWas)
{
    GraphDocument d;
    std::string error;
    EXPECT_FALSE(renderGraph(d, path("graph.gif"), error));
    EXPECT_NE(error.find(".png, .svg or .pdf"), std::string::npos) << error;
    EXPECT_FALSE(renderGraph(d, path("no-extension"), error));
    EXPECT_FALSE(renderGraph(d, path("graph.png"), error, 0, 545));
    EXPECT_NE(error.find("size"), std::string::npos) << error;
    EXPECT_FALSE(renderGraph(d, path("graph.png"), error, 750, 1 << 20));
    EXPECT_FALSE(renderGraph(d, "", error));

    EXPECT_FALSE(renderGraph(d, path("missing/graph.png"), error));
    EXPECT_NE(error.find("missing/graph.png"), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;

    // A folder where the file should go stays a folder, with its contents.
    fs::create_directory(path("taken.svg"));
    std::ofstream(path("taken.svg/keep")) << "kept";
    EXPECT_FALSE(renderGraph(d, path("taken.svg"), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(contents(path("taken.svg/keep")), "kept");

    // A pipe stays a pipe, and a file the user may not write is kept.
    ASSERT_EQ(mkfifo(path("pipe.png").c_str(), 0644), 0);
    EXPECT_FALSE(renderGraph(d, path("pipe.png"), error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    struct stat st;
    ASSERT_EQ(lstat(path("pipe.png").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    std::ofstream(path("locked.pdf")) << "kept";
    ASSERT_EQ(chmod(path("locked.pdf").c_str(), 0444), 0);
    fs::permissions(dir, fs::perms(0777));
    EXPECT_FALSE(asOrdinaryUser(
        [&](std::string& message) { return renderGraph(d, path("locked.pdf"), message); }, error));
    EXPECT_NE(error.find(std::strerror(EACCES)), std::string::npos) << error;
    EXPECT_EQ(contents(path("locked.pdf")), "kept");
    fs::remove(path("locked.pdf"));

    EXPECT_EQ(entries(), (std::vector<std::string> { "pipe.png", "taken.svg" }));
}

TEST_F(RenderFile, ALinkIsWrittenThroughAndStaysALink)
{
    fs::create_directory(dir / "real");
    std::ofstream(path("real/graph.svg")) << "old";
    fs::create_symlink("real/graph.svg", dir / "graph.svg");
    fs::create_symlink("real/new.pdf", dir / "dangling.pdf");
    GraphDocument d;
    std::string error;
    ASSERT_TRUE(renderGraph(d, path("graph.svg"), error)) << error;
    ASSERT_TRUE(renderGraph(d, path("dangling.pdf"), error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "graph.svg"));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.pdf"));
    EXPECT_NE(contents(path("real/graph.svg")).find("<svg"), std::string::npos);
    EXPECT_EQ(contents(path("real/new.pdf")).substr(0, 5), "%PDF-");
    EXPECT_EQ(entries(), (std::vector<std::string> { "dangling.pdf", "graph.svg", "real" }));
}

// Every format on a disk with no room left: the write fails with the
// system's reason, and the old picture stays byte for byte.
TEST_F(RenderFile, AFullDiskFailsEveryFormatAndKeepsTheOldOutput)
{
    const SmallDisk disk(dir / "disk");
    if (!disk.mounted)
        SKIP_OR_FAIL_IN_CI("a small disk needs root and a mountable tmpfs");
    const auto graph = maximalGraph();
    for (std::size_t leave : { 0, 8192, 40960 })
        for (const char* name : { "graph.png", "graph.svg", "graph.pdf" }) {
            SCOPED_TRACE(name + std::string(" leaving ") + std::to_string(leave));
            const std::string target = (disk.path / name).string();
            std::ofstream(target) << "old picture";
            disk.fill(leave);
            std::string error;
            EXPECT_FALSE(renderGraph(*graph, target, error));
            EXPECT_NE(error.find(std::strerror(ENOSPC)), std::string::npos) << error;
            EXPECT_EQ(contents(target), "old picture");
            disk.empty();
            std::vector<std::string> left;
            for (const auto& e : fs::directory_iterator(disk.path))
                left.push_back(e.path().filename().string());
            EXPECT_EQ(left, std::vector<std::string> { name });
            fs::remove(target);
        }
}

TEST_F(RenderFile, LongNamesStillGetATemporaryFile)
{
    GraphDocument d;
    std::string error;
    const std::string name = std::string(250, 'n') + ".pdf"; // at the file system's limit
    ASSERT_TRUE(renderGraph(d, path(name), error)) << error;
    EXPECT_EQ(entries(), (std::vector<std::string> { name }));
}

// The SVG is the figure's own drawing: its texts as texts, its size in
// pixels whatever the scale, and read back by librsvg it is the PNG but for
// the antialiasing of lines and letters.
TEST_F(RenderFile, TheSvgIsThePngsPictureWithItsTextsAsText)
{
    auto d = maximalGraph();
    RenderLayout figure;
    figure.figure = true;
    std::string error;
    ASSERT_TRUE(renderGraph(*d, path("figure.png"), error, figure)) << error;
    for (int scale : { 1, 3 }) {
        figure.scale = scale;
        ASSERT_TRUE(renderGraph(*d, path("figure" + std::to_string(scale) + ".svg"), error, figure)) << error;
    }
    const std::string svg = contents(path("figure1.svg"));
    EXPECT_EQ(svg, contents(path("figure3.svg")));
    EXPECT_NE(svg.find("width=\"742\" height=\"400\" viewBox=\"0 0 742 400\""), std::string::npos);
    EXPECT_NE(svg.find(">Three full curves with every option switched on</text>"), std::string::npos);
    EXPECT_NE(svg.find("font-family=\"Liberation Sans\""), std::string::npos);
    if (std::system(
            ("rsvg-convert " + path("figure1.svg") + " -o " + path("read.png") + " 2>/dev/null").c_str())
        != 0)
        SKIP_OR_FAIL_IN_CI("rsvg-convert (librsvg2-bin) is not installed");
    cairo_surface_t* ours = cairo_image_surface_create_from_png(path("figure.png").c_str());
    cairo_surface_t* read = cairo_image_surface_create_from_png(path("read.png").c_str());
    ASSERT_EQ(cairo_image_surface_get_width(read), 742);
    ASSERT_EQ(cairo_image_surface_get_height(read), 400);
    // A pixel matches when one within a pixel of it in the other picture is
    // of nearly its colour: antialiasing moves edges by less than that.
    const auto pixel = [](cairo_surface_t* s, int x, int y) {
        const auto* row = cairo_image_surface_get_data(s)
            + static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(s);
        return reinterpret_cast<const std::uint32_t*>(row)[x];
    };
    const auto near = [](std::uint32_t a, std::uint32_t b) {
        for (int shift : { 0, 8, 16 })
            if (std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)) > 96)
                return false;
        return true;
    };
    int differing = 0;
    cairo_surface_flush(ours);
    cairo_surface_flush(read);
    for (int y = 1; y < 399; ++y)
        for (int x = 1; x < 741; ++x) {
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found = near(pixel(ours, x, y), pixel(read, x + dx, y + dy));
            differing += !found;
        }
    EXPECT_LT(differing, 742 * 400 / 200) << "pixels that are not the PNG's";
    cairo_surface_destroy(ours);
    cairo_surface_destroy(read);
}
