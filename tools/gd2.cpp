// gd2: looks at, checks, exports and renders graph files with no display.
// Exit status: 0 success, 1 some file failed, 2 usage error. Errors go to
// standard error, each naming the file and the reason; "-" reads standard
// input.

#include "document/CurveStatistics.h"
#include "document/GraphDocument.h"
#include "document/TextHelpers.h"
#include "drawing/RenderFile.h"
#include "files/GraphFile.h"
#include "files/GraphImport.h"
#include "files/GraphRecord.h"
#include "files/RecordCheck.h"
#include "framework/dc/CairoDC.h"
#include "tools/ShownText.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Says what is wrong with the command line and how it goes; status 2.
int usage(const std::string& problem = {});

void report(const std::string& error) { std::fprintf(stderr, "gd2: %s\n", escapedUtf8(error).c_str()); }

// The record in a file or on standard input, read as Open reads it: repaired
// where it can be, with one sentence per repair in `repairs`.
bool loadRecord(
    const std::string& name, GraphRecord& rec, std::string& error, std::vector<std::string>& repairs)
{
    if (name != "-")
        return readGraphFile(name, rec, error, &repairs);
    return readGraphStream(STDIN_FILENO, "standard input", rec, error, &repairs);
}

// The reason of a refusal without the file name it starts with.
std::string refusalReason(const std::string& name, const std::string& error)
{
    for (const std::string& prefix : { "Cannot open \"" + name + "\": ", std::string("standard input: ") })
        if (error.rfind(prefix, 0) == 0)
            return error.substr(prefix.size());
    return error;
}

void reportRepairs(const std::string& name, const std::vector<std::string>& repairs)
{
    if (!repairs.empty())
        report(name + ": repaired: " + repairSummary(repairs));
}

void toDocument(const GraphRecord& rec, GraphDocument& d)
{
    d = GraphDocument {};
    d.yScale = 1.0f;
    unpackRecordDocument(rec, d);
    settleReadOptions(d);
}

bool load(const std::string& name, GraphDocument& d, std::string& error)
{
    GraphRecord rec;
    std::vector<std::string> repairs;
    if (!loadRecord(name, rec, error, repairs))
        return false;
    reportRepairs(name, repairs);
    toDocument(rec, d);
    return true;
}

void printInfo(const std::string& name, const GraphDocument& d)
{
    std::printf("file: %s\n", escapedUtf8(name).c_str());
    std::printf("title: \"%s\"\n", shownText(d.title).c_str());
    if (d.yRangeSet)
        std::printf("Y range: %g to %g (%g pixels per unit)\n", d.yMin, d.yMax, d.yScale);
    else
        std::printf("Y range: none (values are pixel heights)\n");
    std::printf("error bars: %g%%\n", d.percentError);
    std::printf(
        "X labels: %d, spacing %d, %d divisions each\n", d.xLabelCount, d.labelSpacing, d.divisionsPerLabel);
    for (int i = 0; i < d.xLabelCount; ++i)
        std::printf("  %2d \"%s\"\n", i + 1, shownText(d.xLabels[i]).c_str());
    std::printf("options: connect %d, large %d, labels %d, thick %d\n", d.connectPoints, d.largePoints,
        d.labelPoints, d.thickLines);
    for (int c = 0; c < kCurveCount; ++c) {
        std::printf("curve %d: %d points", c + 1, d.pointCount[c]);
        if (d.captions[c][0])
            std::printf(", caption \"%s\"", shownText(d.captions[c]).c_str());
        if (d.pointCount[c] > 0) {
            const CurveStats s = curveStatistics(d, c);
            std::printf(", mean %.2f, weighted mean %.2f", s.mean, s.weightedMean);
        }
        std::printf("\n");
    }
}

std::string jsonFlag(int v) { return v ? "true" : "false"; }

// One line: every stored field, floats as the shortest text that reads
// back as the same 32-bit value.
void printJson(const std::string& name, const GraphDocument& d)
{
    std::string j = "{\"file\":" + jsonName(name) + ",\"title\":" + jsonText(d.title) + ",\"xLabels\":[";
    for (int i = 0; i < d.xLabelCount; ++i)
        j += (i ? "," : "") + jsonText(d.xLabels[i]);
    j += "],\"labelSpacing\":" + std::to_string(d.labelSpacing)
        + ",\"divisionsPerLabel\":" + std::to_string(d.divisionsPerLabel);
    j += ",\"yRange\":{\"min\":" + floatText(d.yMin) + ",\"max\":" + floatText(d.yMax)
        + ",\"scale\":" + floatText(d.yScale) + ",\"set\":" + jsonFlag(d.yRangeSet) + "}";
    j += ",\"yTicks\":[";
    for (int k = 0; k < kYTickCount; ++k)
        j += (k ? "," : "") + floatText(d.yTicks[k]);
    j += "],\"percentError\":" + floatText(d.percentError);
    j += ",\"options\":{\"connect\":" + jsonFlag(d.connectPoints) + ",\"large\":" + jsonFlag(d.largePoints)
        + ",\"labels\":" + jsonFlag(d.labelPoints) + ",\"errorBars\":" + jsonFlag(d.showErrorBars)
        + ",\"thick\":" + jsonFlag(d.thickLines) + "}";
    j += ",\"captions\":[";
    for (int c = 0; c < kCurveCount; ++c)
        j += (c ? "," : "") + jsonText(d.captions[c]);
    j += "],\"captionBox\":{\"x\":" + std::to_string(d.captionBoxX)
        + ",\"y\":" + std::to_string(d.captionBoxY) + ",\"placed\":" + jsonFlag(d.captionsPlaced) + "}";
    j += ",\"curves\":[";
    for (int c = 0; c < kCurveCount; ++c) {
        j += c ? ",{\"points\":[" : "{\"points\":[";
        for (int p = 0; p < d.pointCount[c]; ++p)
            j += (p ? "," : "") + std::string("{\"x\":") + std::to_string(d.pixelX[c][p] - 50)
                + ",\"pixelX\":" + std::to_string(d.pixelX[c][p]) + ",\"pixelY\":" + floatText(d.pixelY[c][p])
                + ",\"y\":" + floatText(d.valueY[c][p]) + "}";
        j += "]";
        if (d.pointCount[c] > 0) {
            const CurveStats s = curveStatistics(d, c);
            j += ",\"mean\":" + floatText(s.mean) + ",\"weightedMean\":" + floatText(s.weightedMean) + "}";
        } else
            j += ",\"mean\":null,\"weightedMean\":null}";
    }
    j += "]}";
    std::printf("%s\n", j.c_str());
}

int info(const std::vector<std::string>& args)
{
    bool json = false;
    std::vector<std::string> files;
    for (const std::string& a : args) {
        if (a == "--json")
            json = true;
        else if (a.size() > 1 && a[0] == '-')
            return usage("unknown option " + a);
        else
            files.push_back(a);
    }
    if (files.empty())
        return usage("info needs a file");
    int failed = 0;
    for (const std::string& f : files) {
        GraphDocument d;
        std::string error;
        if (!load(f, d, error)) {
            report(error);
            failed = 1;
        } else if (json)
            printJson(f, d);
        else
            printInfo(f, d);
    }
    return failed;
}

int csv(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return usage("csv takes one file");
    GraphDocument d;
    std::string error;
    if (!load(args[0], d, error)) {
        report(error);
        return 1;
    }
    std::printf("curve,x,y\n");
    for (int c = 0; c < kCurveCount; ++c)
        for (int p = 0; p < d.pointCount[c]; ++p)
            std::printf("%d,%d,%s\n", c + 1, d.pixelX[c][p] - 50, floatText(d.valueY[c][p]).c_str());
    return 0;
}

int check(const std::vector<std::string>& files)
{
    if (files.empty())
        return usage("check needs a file");
    int failed = 0;
    for (const std::string& f : files) {
        GraphRecord rec;
        std::string error;
        std::vector<std::string> repairs;
        const std::string shown = escapedUtf8(f);
        if (!loadRecord(f, rec, error, repairs)) {
            std::printf("%s: refused: %s\n", shown.c_str(), escapedUtf8(refusalReason(f, error)).c_str());
            failed = 1;
        } else if (repairs.empty())
            std::printf("%s: ok\n", shown.c_str());
        else
            std::printf("%s: ok, repaired: %s\n", shown.c_str(), escapedUtf8(repairSummary(repairs)).c_str());
    }
    return failed;
}

// Writes each file's graph as the window would save it after opening it:
// repaired, in a record that passes every check.
int repair(const std::vector<std::string>& args)
{
    std::vector<std::string> files;
    std::string out;
    bool inPlace = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size())
                return usage("-o needs a file name");
            out = args[++i];
        } else if (args[i] == "--in-place")
            inPlace = true;
        else if (args[i].size() > 1 && args[i][0] == '-')
            return usage("unknown option " + args[i]);
        else
            files.push_back(args[i]);
    }
    if (files.empty() || inPlace == !out.empty() || (!out.empty() && files.size() != 1)
        || (inPlace && std::count(files.begin(), files.end(), "-")))
        return usage("repair takes FILE -o OUT, or FILE... --in-place");
    int failed = 0;
    for (const std::string& f : files) {
        GraphRecord rec;
        std::string error;
        std::vector<std::string> repairs;
        if (!loadRecord(f, rec, error, repairs)) {
            report(error);
            failed = 1;
            continue;
        }
        const std::string shown = escapedUtf8(f);
        if (inPlace && repairs.empty()) {
            std::printf("%s: ok, nothing to repair\n", shown.c_str());
            continue;
        }
        GraphDocument d;
        toDocument(rec, d);
        packRecord(d, rec);
        const std::string target = inPlace ? f : out;
        if (!writeGraphFile(target, rec, error)) {
            report(error);
            failed = 1;
            continue;
        }
        if (repairs.empty())
            std::printf("%s: ok, written to %s\n", shown.c_str(), escapedUtf8(target).c_str());
        else
            std::printf("%s: repaired: %s\n", shown.c_str(), escapedUtf8(repairSummary(repairs)).c_str());
    }
    return failed;
}

int renderOne(const std::string& file, const std::string& out, const RenderLayout& layout)
{
    GraphDocument d;
    std::string error;
    if (!load(file, d, error)) {
        report(error);
        return 1;
    }
    if (!renderGraph(d, out, error, layout)) {
        report(error);
        return 1;
    }
    return 0;
}

int render(const std::vector<std::string>& args)
{
    std::vector<std::string> files;
    std::string out, outDir, format = "png";
    RenderLayout layout;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size())
                return false;
            into = args[++i];
            return true;
        };
        if (a == "--print")
            layout.page = true;
        else if (a == "--figure")
            layout.figure = true;
        else if (a == "--scale") {
            std::string n;
            if (!value(n) || !isWholeNumberText(n) || textToInt(n) < 1 || textToInt(n) > kMaxRenderScale)
                return usage("--scale takes a whole number from 1 to " + std::to_string(kMaxRenderScale));
            layout.scale = textToInt(n);
        } else if (a == "-o") {
            if (!value(out))
                return usage("-o needs a file name");
        } else if (a == "--out-dir") {
            if (!value(outDir))
                return usage("--out-dir needs a folder");
        } else if (a == "--format") {
            if (!value(format) || (format != "png" && format != "svg" && format != "pdf"))
                return usage("--format takes png, svg or pdf");
        } else if (a.size() > 1 && a[0] == '-')
            return usage("unknown option " + a);
        else
            files.push_back(a);
    }
    if (layout.page && layout.figure)
        return usage("--print and --figure are two different pictures: give one");
    // The older form: FILE OUT.
    if (out.empty() && outDir.empty() && files.size() == 2) {
        out = files[1];
        files.pop_back();
    }
    if (files.empty() || (out.empty() == outDir.empty()) || (!out.empty() && files.size() != 1))
        return usage("render takes FILE with -o OUT, or FILE... with --out-dir DIR");
    if (!out.empty())
        return renderOne(files[0], out, layout);
    // A missing folder is made once, rather than every picture failing in turn.
    std::error_code made;
    std::filesystem::create_directories(outDir, made);
    if (made) {
        report(outDir + ": " + made.message());
        return 1;
    }
    int failed = 0;
    std::map<std::string, std::string> madeFrom; // output -> the input it was rendered from
    for (const std::string& f : files) {
        std::string stem = f == "-" ? "stdin" : f.substr(f.find_last_of('/') + 1);
        if (const std::size_t dot = stem.find_last_of('.'); dot != std::string::npos && dot > 0)
            stem.erase(dot);
        const std::string picture = outDir + "/" + stem + "." + format;
        // Two inputs of the same name from different folders would share
        // one picture; the second must not silently replace the first.
        if (const auto earlier = madeFrom.find(picture); earlier != madeFrom.end()) {
            report(f + ": not rendered: its picture " + picture + " is the one made from " + earlier->second);
            failed = 1;
            continue;
        }
        madeFrom.emplace(picture, f);
        failed |= renderOne(f, picture, layout);
    }
    return failed;
}

// The file manager's preview: the figure reduced to SIZE on its longer
// side. Nothing but the graph file and the fonts is read.
int thumbnail(const std::vector<std::string>& args)
{
    RenderLayout layout;
    layout.thumbnail = 256;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-s" || a == "--size") {
            const std::string n = i + 1 < args.size() ? args[++i] : "";
            if (!isWholeNumberText(n) || textToInt(n) < 1 || textToInt(n) > kMaxThumbnailSize)
                return usage("-s takes a whole number from 1 to " + std::to_string(kMaxThumbnailSize));
            layout.thumbnail = textToInt(n);
        } else if (a.size() > 1 && a[0] == '-')
            return usage("unknown option " + a);
        else
            files.push_back(a);
    }
    if (files.size() != 2)
        return usage("thumbnail takes FILE and OUT.png");
    return renderOne(files[0], files[1], layout);
}

// Hands the rows of a file or of standard input to the builder a line at a
// time, so that an endless or huge input stops at its first refused row.
bool buildFromRows(const std::string& name, GraphBuilder& builder, std::string& error)
{
    constexpr std::size_t kLongestLine = 65536;
    const std::string shown = name == "-" ? "standard input" : name;
    std::FILE* f = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
    if (!f) {
        error = name + ": " + std::strerror(errno);
        return false;
    }
    const auto finish = [&](bool ok) {
        if (f != stdin)
            std::fclose(f);
        return ok;
    };
    std::string line;
    int lineNumber = 0;
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        for (std::size_t i = 0; i < got; ++i) {
            if (buffer[i] != '\n') {
                line += buffer[i];
                if (line.size() > kLongestLine) {
                    error = shown + ":" + std::to_string(lineNumber + 1) + ": the line is longer than "
                        + std::to_string(kLongestLine) + " characters";
                    return finish(false);
                }
                continue;
            }
            ++lineNumber;
            if (!builder.addLine(line, error))
                return finish(false);
            line.clear();
        }
    if (std::ferror(f)) {
        error = shown + ": " + std::strerror(errno);
        return finish(false);
    }
    return finish(line.empty() || builder.addLine(line, error));
}

// "A,B,C" as its items; an empty text has none.
std::vector<std::string> commaList(const std::string& list)
{
    std::vector<std::string> items;
    for (std::size_t from = 0; !list.empty();) {
        const std::size_t comma = list.find(',', from);
        items.push_back(list.substr(from, comma - from));
        if (comma == std::string::npos)
            break;
        from = comma + 1;
    }
    return items;
}

int makeNew(const std::vector<std::string>& args)
{
    NewGraphSettings s;
    std::string out, data;
    bool haveData = false, haveMin = false, haveMax = false, haveDivisions = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        auto real = [&](float& into) {
            if (!hasValue || !isRealNumberText(args[i + 1]))
                return false;
            into = static_cast<float>(textToReal(args[++i]));
            return true;
        };
        if (a == "-o") {
            if (!hasValue)
                return usage("-o needs a file name");
            out = args[++i];
        } else if (a == "--title") {
            if (!hasValue)
                return usage("--title needs a text");
            s.title = args[++i];
        } else if (a == "--labels") {
            if (!hasValue)
                return usage("--labels needs a comma-separated list");
            s.labels = commaList(args[++i]);
        } else if (a == "--captions") {
            if (!hasValue)
                return usage("--captions needs a comma-separated list");
            s.captions = commaList(args[++i]);
        } else if (a == "--caption-box") {
            const std::string at = hasValue ? args[i + 1] : "";
            const std::size_t comma = at.find(',');
            if (comma == std::string::npos || !isWholeNumberText(at.substr(0, comma))
                || !isWholeNumberText(at.substr(comma + 1)))
                return usage("--caption-box needs X,Y");
            s.captionBoxX = textToInt(at.substr(0, comma));
            s.captionBoxY = textToInt(at.substr(comma + 1));
            s.captionBoxGiven = true;
            ++i;
        } else if (a == "--curve") {
            if (!hasValue || !isWholeNumberText(args[i + 1]) || textToInt(args[i + 1]) < 1
                || textToInt(args[i + 1]) > kCurveCount)
                return usage("--curve needs 1, 2 or 3");
            s.rowsCurve = textToInt(args[++i]) - 1;
        } else if (a == "--divisions") {
            if (!hasValue || !isWholeNumberText(args[i + 1]))
                return usage("--divisions needs a whole number");
            s.divisions = textToInt(args[++i]);
            haveDivisions = true;
        } else if (a == "--ymin") {
            if (!real(s.yMin))
                return usage("--ymin needs a number");
            haveMin = true;
        } else if (a == "--ymax") {
            if (!real(s.yMax))
                return usage("--ymax needs a number");
            haveMax = true;
        } else if (a == "--error") {
            if (!real(s.percentError))
                return usage("--error needs a percentage");
            s.errorBarsGiven = true;
        } else if (a == "--connect")
            s.connect = true;
        else if (a == "--large")
            s.large = true;
        else if (a == "--label-points")
            s.labelPoints = true;
        else if (a == "--thick")
            s.thick = true;
        else if (a.size() > 1 && a[0] == '-')
            return usage("unknown option " + a);
        else if (haveData)
            return usage("new takes one data file");
        else {
            data = a;
            haveData = true;
        }
    }
    if (out.empty())
        return usage("new needs -o OUT.gd2");
    if (haveMin != haveMax)
        return usage("--ymin and --ymax go together");
    s.yRangeGiven = haveMin;
    // Labels need divisions; one, a tick at each label, unless asked.
    if (!haveDivisions && !s.labels.empty())
        s.divisions = 1;

    std::string error;
    GraphBuilder builder;
    if (!builder.start(s, data == "-" ? "standard input" : data, error)
        || (haveData && !buildFromRows(data, builder, error))) {
        report(error);
        return 1;
    }
    GraphRecord rec;
    packRecord(builder.graph(), rec);
    if (const std::string reason = checkRecord(rec); !reason.empty()) {
        report(out + ": the graph made would not open again: " + reason);
        return 1;
    }
    // "-" sends the graph down a pipe, as "-" reads rows from one.
    if (out == "-") {
        if (std::fwrite(rec.bytes.data(), 1, kGraphRecordSize, stdout) != kGraphRecordSize
            || std::fflush(stdout) != 0) {
            report(std::string("standard output: ") + std::strerror(errno));
            return 1;
        }
        return 0;
    }
    if (!writeGraphFile(out, rec, error)) {
        report(error);
        return 1;
    }
    return 0;
}

// The commands, each with its lines of the usage, of --help's list of
// commands and of its options.
struct Verb {
    const char* name;
    const char* usage;
    const char* summary;
    const char* options; // null when it has none of its own
    int (*run)(const std::vector<std::string>&);
    // Nothing it draws uses any font but the graph's.
    bool graphFontsOnly = false;
};

const Verb verbs[] = {
    { "info", "gd2 info [--json] FILE...",
        "  info            show a graph's title, axes, options and each curve's figures\n"
        "  info --json     the same as one line of JSON with every stored field\n",
        nullptr, info },
    { "csv", "gd2 csv FILE", "  csv             write a graph's points as curve,x,y rows\n", nullptr, csv },
    { "check", "gd2 check FILE...",
        "  check           say \"ok\", \"ok, repaired: ...\" or \"refused: ...\" for each file\n", nullptr,
        check },
    { "repair", "gd2 repair FILE -o OUT.gd2 | gd2 repair FILE... --in-place",
        "  repair          write each file's graph repaired, as Save would after opening it:\n"
        "                  -o OUT.gd2 for one file, or --in-place for several\n",
        nullptr, repair },
    { "render",
        "gd2 render FILE -o OUT.png|OUT.svg|OUT.pdf [--scale N] [--print | --figure]\n"
        "       gd2 render FILE... --out-dir DIR [--format png|svg|pdf] [--scale N] [--print | --figure]\n"
        "       gd2 render FILE OUT",
        "  render          draw a graph into a PNG, SVG or PDF file, chosen by its extension\n",
        "  -o OUT          the file to write (.png, .svg or .pdf)\n"
        "  --out-dir DIR   write each FILE's picture into DIR (made if missing) as NAME.FORMAT\n"
        "  --format F      the picture type for --out-dir: png (default), svg or pdf\n"
        "  --scale N       N device pixels per window pixel, 1 to 8 (sharper pictures)\n"
        "  --print         the printed A4 page instead of the window\n"
        "  --figure        the graph as printed, cut to the plot and its texts (for reports)\n",
        render, true },
    { "thumbnail", "gd2 thumbnail [-s SIZE] FILE OUT.png",
        "  thumbnail       write a PNG preview for a file manager (see below)\n",
        "  -s SIZE         the preview's longer side in pixels, 1 to 2048 (default 256);\n"
        "                  the picture is the figure scaled down whole, and a file that does\n"
        "                  not open gives no picture and exit status 1\n",
        thumbnail, true },
    { "new",
        "gd2 new -o OUT.gd2 [--title T] [--labels A,B,C] [--divisions N]\n"
        "               [--ymin A --ymax B] [--error P] [--connect] [--large]\n"
        "               [--label-points] [--thick] [--captions A,B,C] [--caption-box X,Y]\n"
        "               [--curve N] [CSV|-]",
        "  new             make a graph file from settings and rows of x,y or curve,x,y\n"
        "                  (x from 0 to 670), read as the window's Paste reads them\n",
        "  -o OUT.gd2      the graph file to write (- for standard output)\n"
        "  --title T       the graph's title\n"
        "  --labels A,B,C  the X-axis labels, at most 20\n"
        "  --divisions N   ticks between two labels (1 when labels are given)\n"
        "  --ymin A --ymax B   the Y axis range; without it values are pixel heights\n"
        "  --error P       error bars of P percent of the Y range\n"
        "  --connect       join each curve's points with lines\n"
        "  --large         large points\n"
        "  --label-points  write each point's value beside it\n"
        "  --thick         thick lines\n"
        "  --captions A,B,C    a caption for each curve\n"
        "  --caption-box X,Y   where the captions go, in window pixels\n"
        "  --curve N       the curve (1 to 3) that rows of only x and y go to (default 1)\n"
        "  CSV|-           the rows to read (a file, or - for standard input): x and y, or\n"
        "                  curve, x and y, between tabs, semicolons, commas or blanks; a\n"
        "                  decimal comma with tabs or semicolons; a header row is skipped\n",
        makeNew },
};

std::string usageText()
{
    std::string text;
    for (const Verb& v : verbs)
        text += std::string(text.empty() ? "usage: " : "       ") + v.usage + "\n";
    return text + "       gd2 --help | --version\nFILE may be - for standard input.\n";
}

std::string helpText()
{
    std::string text = "\nCommands:\n";
    for (const Verb& v : verbs)
        text += v.summary;
    for (const Verb& v : verbs)
        if (v.options)
            text += std::string("\n") + v.name + " options:\n" + v.options;
    return text
        + "\nOther:\n"
          "  --help          this text\n"
          "  --version       the program's version\n"
          "\nExit status: 0 success, 1 a file failed, 2 a usage error.\n";
}

int usage(const std::string& problem)
{
    if (!problem.empty())
        std::fprintf(stderr, "gd2: %s\n", escapedUtf8(problem).c_str());
    std::fputs(usageText().c_str(), stderr);
    return 2;
}

} // namespace

int run(int argc, char** argv);

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        report("out of memory");
    } catch (const std::exception& e) {
        report(e.what());
    }
    return 1;
}

int run(int argc, char** argv)
{
    // The system's reasons in the user's language, but numbers always with
    // a full stop: scripts read what this prints.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2)
        return usage();
    const std::string verb = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (verb == "--help" || verb == "-h") {
        std::fputs(usageText().c_str(), stdout);
        std::fputs(helpText().c_str(), stdout);
        return 0;
    }
    if (verb == "--version") {
        std::printf("gd2 (Plotwell) %s\n", PLOTWELL_VERSION);
        return 0;
    }
    for (const Verb& v : verbs)
        if (verb == v.name) {
            if (v.graphFontsOnly)
                useOnlyGraphFonts();
            return v.run(args);
        }
    return usage("unknown command " + verb);
}
