#include "files/RecoveryCopy.h"

#include "files/GraphRecord.h"
#include "files/RecordCheck.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::string_view kMagic = "Plotwell recovery copy 1\n";
constexpr std::string_view kSuffix = ".recovery";

std::string firstLine(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// Field 22 of /proc/PID/stat: when the process started, in clock ticks
// after boot. The command name before it may hold blanks and brackets.
unsigned long long startOf(long pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t close = all.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream fields(all.substr(close + 2));
    std::string field;
    for (int k = 3; k <= 22 && fields >> field; ++k)
        if (k == 22)
            return std::strtoull(field.c_str(), nullptr, 10);
    return 0;
}

// One "name value" line of the header.
bool headerLine(std::string_view& bytes, std::string_view name, std::string_view& value)
{
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos || bytes.substr(0, name.size() + 1) != std::string(name) + " ")
        return false;
    value = bytes.substr(name.size() + 1, end - name.size() - 1);
    bytes.remove_prefix(end + 1);
    return true;
}

template <typename T> bool numberOf(std::string_view text, T& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc {} && end == text.data() + text.size();
}
} // namespace

ProcessStamp thisProcess()
{
    static const ProcessStamp self { static_cast<long>(::getpid()), startOf(::getpid()),
        firstLine("/proc/sys/kernel/random/boot_id") };
    return self;
}

bool stillRunning(const ProcessStamp& writer)
{
    if (writer.pid <= 0 || writer.boot != thisProcess().boot)
        return false;
    if (::kill(static_cast<pid_t>(writer.pid), 0) != 0 && errno != EPERM)
        return false;
    return startOf(writer.pid) == writer.started;
}

std::string recoveryFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/')
        return std::string(state) + "/plotwell";
    const char* home = std::getenv("HOME");
    if (home && *home == '/')
        return std::string(home) + "/.local/state/plotwell";
    return {};
}

std::string recoveryPath(const std::string& folder, const ProcessStamp& writer)
{
    return folder + "/" + std::to_string(writer.pid) + "-" + std::to_string(writer.started)
        + std::string(kSuffix);
}

std::string recoveryBytes(const GraphSnapshot& graph, const ProcessStamp& writer)
{
    std::string out(kMagic);
    out += "pid " + std::to_string(writer.pid) + "\n";
    out += "started " + std::to_string(writer.started) + "\n";
    out += "boot " + writer.boot + "\n";
    out += "view " + std::to_string(graph.showErrorBars) + " " + std::to_string(graph.placingCaption) + " "
        + std::to_string(graph.currentCurve) + "\n";
    // The file name may hold any byte but the line end, which no path the
    // file dialogs give holds; its length says where it ends regardless.
    out += "file " + std::to_string(graph.fileName.size()) + "\n" + graph.fileName + "\n";
    out += "record " + std::to_string(graph.stored.size()) + "\n";
    out.append(graph.stored.begin(), graph.stored.end());
    return out;
}

bool readRecoveryBytes(std::string_view bytes, GraphSnapshot& graph, ProcessStamp& writer, std::string& error)
{
    writer = {};
    error = "it is not a recovery copy of this version";
    if (bytes.substr(0, kMagic.size()) != kMagic)
        return false;
    bytes.remove_prefix(kMagic.size());
    std::string_view pid, started, boot, view, fileLength, recordLength;
    ProcessStamp who;
    GraphSnapshot read;
    std::size_t nameSize = 0, recordSize = 0;
    if (!headerLine(bytes, "pid", pid) || !numberOf(pid, who.pid) || !headerLine(bytes, "started", started)
        || !numberOf(started, who.started) || !headerLine(bytes, "boot", boot)
        || !headerLine(bytes, "view", view) || !headerLine(bytes, "file", fileLength)
        || !numberOf(fileLength, nameSize))
        return false;
    who.boot = boot;
    writer = who;
    std::istringstream options { std::string(view) };
    int placing = 0;
    if (!(options >> read.showErrorBars >> placing >> read.currentCurve) || read.currentCurve < 0
        || read.currentCurve > 2)
        return false;
    read.placingCaption = placing != 0;
    if (bytes.size() < nameSize + 1 || bytes[nameSize] != '\n')
        return false;
    read.fileName = bytes.substr(0, nameSize);
    bytes.remove_prefix(nameSize + 1);
    if (!headerLine(bytes, "record", recordLength) || !numberOf(recordLength, recordSize)
        || recordSize != bytes.size()) {
        error = "it ends early";
        return false;
    }
    GraphRecord rec;
    std::vector<std::string> repairs;
    error = recordFromBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), rec, repairs);
    if (!error.empty())
        return false;
    read.stored.assign(rec.bytes.begin(), rec.bytes.end());
    graph = std::move(read);
    return true;
}

LeftCopies leftCopies(const std::string& folder)
{
    LeftCopies left;
    DIR* dir = folder.empty() ? nullptr : ::opendir(folder.c_str());
    if (!dir)
        return left;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= kSuffix.size() || name.substr(name.size() - kSuffix.size()) != kSuffix)
            continue;
        const std::string path = folder + "/" + name;
        struct stat st { };
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > 1 << 20)
            continue;
        std::ifstream in(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LeftCopy copy { path, {},
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec };
        ProcessStamp writer;
        std::string error;
        const bool read = readRecoveryBytes(bytes, copy.graph, writer, error);
        // A window open elsewhere keeps its copy, whatever state it is in.
        if (writer == thisProcess() || stillRunning(writer))
            continue;
        if (!read) {
            left.unreadable.emplace_back(path, error);
            continue;
        }
        left.readable.push_back(std::move(copy));
    }
    ::closedir(dir);
    std::sort(left.readable.begin(), left.readable.end(),
        [](const LeftCopy& a, const LeftCopy& b) { return a.modified > b.modified; });
    return left;
}

std::string setAside(const std::string& path)
{
    const std::string aside = path + ".unreadable";
    return ::rename(path.c_str(), aside.c_str()) == 0 ? aside : path;
}

int pointsIn(const GraphSnapshot& graph)
{
    GraphRecord rec;
    std::copy_n(graph.stored.begin(), std::min(graph.stored.size(), rec.bytes.size()), rec.bytes.begin());
    GraphDocument d;
    unpackRecordDocument(rec, d);
    int n = 0;
    for (int count : d.pointCount)
        n += std::clamp(count, 0, kMaxPoints);
    return n;
}

std::string restoreQuestion(const GraphSnapshot& graph)
{
    const int n = pointsIn(graph);
    std::string text = "Plotwell was closed without saving a graph with " + std::to_string(n)
        + (n == 1 ? " point" : " points");
    if (!graph.fileName.empty())
        text += " (" + graph.fileName.substr(graph.fileName.rfind('/') + 1) + ")";
    return text + ". Restore it?";
}
