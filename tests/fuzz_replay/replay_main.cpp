// Runs a fuzz target's entry function over seed files without libFuzzer: each file once,
// folders walked. A target reports a finding by aborting, as it does under the fuzzer; finding
// no seed at all is a failure too, so a moved folder cannot pass unnoticed.

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void replay(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           static_cast<std::size_t>(bytes.size()));
}

} // namespace

int main(int argc, char* argv[])
{
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const QString root = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(root).isFile()) {
            replay(root);
            ++files;
            continue;
        }
        QDirIterator walk(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (walk.hasNext()) {
            replay(walk.next());
            ++files;
        }
    }
    std::printf("%d seed files replayed\n", files);
    return files > 0 ? 0 : 1;
}
