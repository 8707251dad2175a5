// gd2: looks at, checks, exports and renders graph files with no display.
// Exit status: 0 success, 1 some file failed, 2 usage error. Errors go to
// standard error, each naming the file and the reason; "-" reads standard
// input.

#include "document/GraphDocument.h"
#include "document/TextHelpers.h"
#include "drawing/CurveStatistics.h"
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
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

const char* const usageText
    = "usage: gd2 info [--json] FILE...\n"
      "       gd2 csv FILE\n"
      "       gd2 check FILE...\n"
      "       gd2 render FILE -o OUT.png|OUT.svg|OUT.pdf [--scale N] [--print | --figure]\n"
      "       gd2 render FILE... --out-dir DIR [--format png|svg|pdf] [--scale N] [--print | --figure]\n"
      "       gd2 render FILE OUT\n"
      "       gd2 new -o OUT.gd2 [--title T] [--labels A,B,C] [--divisions N]\n"
      "               [--ymin A --ymax B] [--error P] [--connect] [--large]\n"
      "               [--label-points] [--thick] [--captions A,B,C] [--caption-box X,Y]\n"
      "               [CSV|-]\n"
      "       gd2 --help | --version\n"
      "FILE may be - for standard input.\n";

int usage(const std::string& problem = {})
{
    if (!problem.empty())
        std::fprintf(stderr, "gd2: %s\n", escapedUtf8(problem).c_str());
    std::fputs(usageText, stderr);
    return 2;
}

void report(const std::string& error) { std::fprintf(stderr, "gd2: %s\n", escapedUtf8(error).c_str()); }

// The record in a file or on standard input, checked as Open checks it.
bool loadRecord(const std::string& name, GraphRecord& rec, std::string& error)
{
    if (name != "-")
        return readGraphFile(name, rec, error);
    const std::string bytes { std::istreambuf_iterator<char>(std::cin), {} };
    if (bytes.size() < kGraphRecordSize) {
        error = "standard input: " + std::to_string(bytes.size()) + " bytes is too short for a graph of "
            + std::to_string(kGraphRecordSize);
        return false;
    }
    GraphRecord read;
    std::copy_n(bytes.begin(), kGraphRecordSize, read.bytes.begin());
    if (const std::string reason = checkRecord(read); !reason.empty()) {
        error = "standard input: " + reason;
        return false;
    }
    rec = read;
    return true;
}

bool load(const std::string& name, GraphDocument& d, std::string& error)
{
    GraphRecord rec;
    if (!loadRecord(name, rec, error))
        return false;
    d = GraphDocument {};
    d.yScale = 1.0f;
    unpackRecordDocument(rec, d);
    settleReadOptions(d);
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
        if (loadRecord(f, rec, error))
            std::printf("%s: ok\n", escapedUtf8(f).c_str());
        else {
            std::printf("%s: %s\n", escapedUtf8(f).c_str(), escapedUtf8(error).c_str());
            failed = 1;
        }
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
    int failed = 0;
    std::map<std::string, std::string> madeFrom; // output -> the input it was rendered from
    for (const std::string& f : files) {
        std::string stem = f == "-" ? "stdin" : f.substr(f.find_last_of('/') + 1);
        if (const std::size_t dot = stem.find_last_of('.'); dot != std::string::npos && dot > 0)
            stem.erase(dot);
        const std::string out = outDir + "/" + stem + "." + format;
        // Two inputs of the same name from different folders would share
        // one picture; the second must not silently replace the first.
        if (const auto earlier = madeFrom.find(out); earlier != madeFrom.end()) {
            report(f + ": not rendered: its picture " + out + " is the one made from " + earlier->second);
            failed = 1;
            continue;
        }
        madeFrom.emplace(out, f);
        failed |= renderOne(f, out, layout);
    }
    return failed;
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
        std::fputs(usageText, stdout);
        return 0;
    }
    if (verb == "--version") {
        std::printf("gd2 (Plotwell) 2.0\n");
        return 0;
    }
    if (verb == "info")
        return info(args);
    if (verb == "csv")
        return csv(args);
    if (verb == "check")
        return check(args);
    if (verb == "render") {
        // Nothing here draws with any font but the graph's.
        useOnlyGraphFonts();
        return render(args);
    }
    if (verb == "new")
        return makeNew(args);
    return usage("unknown command " + verb);
}
