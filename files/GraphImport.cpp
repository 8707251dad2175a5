#include "files/GraphImport.h"

#include "document/AxisEdits.h"
#include "document/CodePage.h"
#include "document/CurveStatistics.h"
#include "document/GraphRules.h"
#include "document/PlotArea.h"
#include "document/TextHelpers.h"
#include "files/GraphRecord.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr std::size_t kLabelChars = 11;
// As many as the caption boxes take.
constexpr std::size_t kCaptionChars = 24;

// The text in code-page bytes within `limit`, or why not.
std::string storedText(
    const std::string& utf8, std::size_t limit, const std::string& what, std::string& bytes)
{
    const auto converted = utf8ToCodePage(utf8);
    if (!converted)
        return what + " is not UTF-8 or holds a character a graph file cannot store";
    // Nothing could type them in the window, and they would draw as blanks.
    for (const unsigned char ch : *converted)
        if (ch < 0x20 || ch == 0x7F)
            return what + " holds a control character";
    if (converted->size() > limit)
        return what + " is longer than " + std::to_string(limit) + " characters";
    bytes = *converted;
    return {};
}

void copyText(char* into, std::size_t size, const std::string& bytes)
{
    std::memset(into, 0, size);
    std::memcpy(into, bytes.data(), std::min(bytes.size(), size - 1));
}

std::string settingsProblem(const NewGraphSettings& s, GraphDocument& d)
{
    std::string bytes;
    if (std::string p = storedText(s.title, RecordLayout::titleChars, "The title", bytes); !p.empty())
        return "--title: " + p;
    copyText(d.title, sizeof d.title, bytes);

    const int count = static_cast<int>(std::min<std::size_t>(s.labels.size(), 1000));
    if (std::string p = labelCountProblem(count); !p.empty())
        return "--labels: " + p;
    if (std::string p = divisionsProblem(count, s.divisions); !p.empty())
        return "--divisions: " + p;
    for (int i = 0; i < count; ++i) {
        const std::string what = "X-Label " + std::to_string(i + 1);
        if (std::string p = storedText(s.labels[i], kLabelChars, what, bytes); !p.empty())
            return "--labels: " + p;
        if (!isLabelText(bytes))
            return "--labels: " + what + ": " + kLabelCharacterProblem;
        copyText(d.xLabels[i], sizeof d.xLabels[i], bytes);
    }
    d.xLabelCount = count;
    d.divisionsPerLabel = s.divisions;
    d.labelSpacing = labelSpacingFor(count);
    d.labelsEntered = count > 0;

    if (s.captions.size() > kCurveCount)
        return "--captions: there are captions for three curves at most";
    for (std::size_t c = 0; c < s.captions.size(); ++c) {
        const std::string what = "The caption of curve " + std::to_string(c + 1);
        if (std::string p = storedText(s.captions[c], kCaptionChars, what, bytes); !p.empty())
            return "--captions: " + p;
        copyText(d.captions[c], sizeof d.captions[c], bytes);
    }
    if (s.captionBoxGiven || !s.captions.empty()) {
        if (s.captionBoxX < 0 || s.captionBoxX >= PlotArea::clientWidth || s.captionBoxY < 0
            || s.captionBoxY >= PlotArea::clientHeight)
            return "--caption-box: the caption box must start inside the window, at 0..741, 0..498";
        d.captionBoxX = s.captionBoxX;
        d.captionBoxY = s.captionBoxY;
        d.captionsPlaced = 1;
    }

    d.connectPoints = s.connect;
    d.largePoints = s.large;
    d.labelPoints = s.labelPoints;
    d.showErrorBars = s.errorBarsGiven;
    d.thickLines = s.thick;

    // The window asks for a Y range whenever there are labels or error
    // bars, and its empty boxes read as 0 to 0.
    if (s.yRangeGiven || count > 0 || s.errorBarsGiven) {
        const float min = s.yRangeGiven ? s.yMin : 0, max = s.yRangeGiven ? s.yMax : 0;
        // Unlike the dialog, nothing is stored before it is checked.
        if (std::string p = yRangeProblem(min, max); !p.empty())
            return "--ymin/--ymax: " + p + (s.yRangeGiven ? "" : " (labels and error bars need a Y range)");
        d.yMin = min;
        d.yMax = max;
        computeYAxis(d);
        d.yRangeSet = 1;
    }
    if (s.errorBarsGiven) {
        if (!percentAccepted(s.percentError, false))
            return std::string("--error: ") + kPercentProblem;
        d.percentError = s.percentError;
    }
    return {};
}

} // namespace

bool GraphBuilder::start(const NewGraphSettings& settings, const std::string& dataName, std::string& error)
{
    name = dataName;
    rows = RowReader(settings.rowsCurve);
    d = GraphDocument {};
    d.yScale = 1.0f;
    if (std::string p = settingsProblem(settings, d); !p.empty()) {
        error = p;
        return false;
    }
    return true;
}

bool GraphBuilder::addLine(std::string_view line, std::string& error)
{
    RowProblem problem;
    if (!rows.addLine(d, line, problem)) {
        error = where() + problem.text;
        return false;
    }
    return true;
}

std::string GraphBuilder::where() const { return name + ":" + std::to_string(rows.lineNumber()) + ": "; }

bool makeGraph(const NewGraphSettings& settings, std::string_view csv, const std::string& dataName,
    GraphDocument& out, std::string& error)
{
    GraphBuilder builder;
    if (!builder.start(settings, dataName, error))
        return false;
    while (!csv.empty()) {
        const std::size_t end = csv.find('\n');
        if (!builder.addLine(csv.substr(0, end), error))
            return false;
        csv.remove_prefix(end == std::string_view::npos ? csv.size() : end + 1);
    }
    out = builder.graph();
    return true;
}
