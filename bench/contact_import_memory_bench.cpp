// Peak memory of 連絡先の取り込み on a 50 MB vCard of 200,000 cards, of which the book keeps
// 1000. Each run is a fresh process, whose peak resident size the kernel reports when it ends
// (counter peak_MB; goal: 64 MB or less):
// - BM_CliImportPeakMemory runs `vemblor-cli import IN OUT.vcf`, readings included;
// - BM_ImportFilePeakMemory runs importContactsFile alone, the reader the program's
//   連絡先の取り込み… command calls, in a child started from this benchmark.
// Each runs on the file as it is and with a UTF-8 byte-order mark before it. The files are written
// into a temporary folder at the start and removed at the end.

#include "exchange/core/contact_import.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int CARD_COUNT = 200000;
constexpr const char* CHILD_OPTION = "--import-file-child";

// About 250 bytes a card, as phones export them: names with readings, two numbers, a mail
// address and a note.
QByteArray card(int n)
{
    const QByteArray number = QByteArray::number(n);
    return "BEGIN:VCARD\r\nVERSION:3.0\r\n"
           "N:\xE5\xB1\xB1\xE7\x94\xB0" + // 山田
           number +
           ";\xE5\xA4\xAA\xE9\x83\x8E;;;\r\n" + // 太郎
           "FN:\xE5\xB1\xB1\xE7\x94\xB0 \xE5\xA4\xAA\xE9\x83\x8E " + number + "\r\n" +
           "X-PHONETIC-LAST-NAME:\xE3\x83\xA4\xE3\x83\x9E\xE3\x83\x80\r\n" + // ヤマダ
           "TEL;TYPE=CELL:090-" + QByteArray::number(10000000 + n) + "\r\n" + "TEL;TYPE=HOME:03-" +
           QByteArray::number(20000000 + n) + "\r\n" + "EMAIL;TYPE=INTERNET:taro" + number +
           "@example.jp\r\n" +
           "NOTE:\xE5\x8F\x96\xE5\xBC\x95\xE5\x85\x88 " // 取引先 営業部
           "\xE5\x96\xB6\xE6\xA5\xAD\xE9\x83\xA8 " +
           number + "\r\n" + "END:VCARD\r\n";
}

struct BenchFiles {
    QTemporaryDir dir;
    QString plain;
    QString marked; // the same cards after a UTF-8 byte-order mark, as Windows programs write
};

void writeCards(const QString& path, const QByteArray& mark)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return;
    out.write(mark);
    for (int n = 0; n < CARD_COUNT; ++n)
        out.write(card(n));
}

BenchFiles& benchFiles()
{
    static BenchFiles files = [] {
        BenchFiles made;
        made.plain = made.dir.filePath(QStringLiteral("contacts.vcf"));
        made.marked = made.dir.filePath(QStringLiteral("marked.vcf"));
        writeCards(made.plain, QByteArray());
        writeCards(made.marked, "\xEF\xBB\xBF");
        return made;
    }();
    return files;
}

// The file of a benchmark: range 0 without the mark, 1 with it.
std::string benchFile(const benchmark::State& state)
{
    return (state.range(0) ? benchFiles().marked : benchFiles().plain).toStdString();
}

// Runs arguments as a child process, its output thrown away; its peak resident size in bytes,
// or -1 when it failed. posix_spawn, unlike fork, lends the child none of this process's pages,
// which the kernel would count in the child's peak.
long childPeakBytes(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss * 1024L; // kilobytes on Linux
}

void measure(benchmark::State& state, const std::vector<std::string>& arguments)
{
    const qint64 size = QFile(QString::fromStdString(benchFile(state))).size();
    long peak = 0;
    for (auto _ : state) {
        const long bytes = childPeakBytes(arguments);
        if (bytes < 0) {
            state.SkipWithError("the import failed");
            return;
        }
        peak = std::max(peak, bytes);
    }
    state.counters["peak_MB"] = static_cast<double>(peak) / (1 << 20);
    state.counters["file_MB"] = static_cast<double>(size) / (1 << 20);
}

std::string selfPath()
{
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    return length > 0 ? std::string(path.data(), static_cast<std::size_t>(length)) : std::string();
}

void BM_CliImportPeakMemory(benchmark::State& state)
{
    const std::string out = benchFiles().dir.filePath(QStringLiteral("out.vcf")).toStdString();
    measure(state, {VEMBLOR_CLI_PATH, "import", benchFile(state), out});
    QFile::remove(QString::fromStdString(out));
}
BENCHMARK(BM_CliImportPeakMemory)
    ->ArgName("utf8_mark")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_ImportFilePeakMemory(benchmark::State& state)
{
    measure(state, {selfPath(), CHILD_OPTION, benchFile(state)});
}
BENCHMARK(BM_ImportFilePeakMemory)
    ->ArgName("utf8_mark")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The child of BM_ImportFilePeakMemory: imports path into a book and succeeds when the book
// holds its 1000 entries and the rest were counted.
int importFileChild(const char* path)
{
    auto book = std::make_unique<TelBook>();
    const ContactImportResult result = importContactsFile(QString::fromLocal8Bit(path), *book);
    const bool whole = result.ok && book->count == MAX_TEL_ENTRIES &&
                       result.report.leftOut == CARD_COUNT - static_cast<int>(MAX_TEL_ENTRIES);
    return whole ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], CHILD_OPTION) == 0)
        return importFileChild(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The static temporary folder goes with the program's end.
    return 0;
}
