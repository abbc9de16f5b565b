// vistrel-embed-pictures: a build tool. Decodes the program's pictures once,
// at build time, into a source file of their pixels, so that the window
// shows and draws them without decoding a PNG at start-up. The pixels are
// exactly those QImage would decode at run time: same format, same colours.
//
//   vistrel-embed-pictures OUTPUT.cpp NAME=PICTURE.png...
#include <QFile>
#include <QImage>
#include <QTextStream>

#include <cstdio>

namespace {

void writeBytes(QTextStream &out, const uchar *data, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i)
        out << (i % 24 == 0 ? "\n   " : "") << ' ' << data[i] << ',';
}

bool embed(QTextStream &out, const QString &name, const QString &path) {
    const QImage image(path, "PNG");
    if (image.isNull()) {
        std::fprintf(stderr, "vistrel-embed-pictures: cannot decode %s\n", qPrintable(path));
        return false;
    }
    out << "\nalignas(16) const uchar " << name << "Pixels[] = {";
    writeBytes(out, image.constBits(), image.sizeInBytes());
    out << "\n};\n";
    out << "const QRgb " << name << "Colours[] = {";
    for (const QRgb colour : image.colorTable())
        out << "0x" << Qt::hex << colour << Qt::dec << "u, ";
    out << "0};\n";
    out << "} // namespace\n\nconst EmbeddedPicture " << name << "{" << image.width() << ", "
        << image.height() << ", " << image.bytesPerLine() << ", " << int(image.format()) << ", "
        << name << "Colours, " << image.colorCount() << ", " << name << "Pixels};\n\nnamespace {\n";
    return true;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc < 3) {
        std::fputs("usage: vistrel-embed-pictures OUTPUT.cpp NAME=PICTURE.png...\n", stderr);
        return 2;
    }
    QString text;
    QTextStream out(&text);
    out << "// Made by vistrel-embed-pictures from the program's pictures; do not edit.\n"
           "#include \"embeddedpicture.h\"\n\nnamespace vistrel::app {\n\nnamespace {\n";
    for (int i = 2; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const qsizetype eq = arg.indexOf(u'=');
        if (eq <= 0 || !embed(out, arg.left(eq), arg.mid(eq + 1)))
            return 1;
    }
    out << "} // namespace\n\n} // namespace vistrel::app\n";
    out.flush();
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.toUtf8()) != text.toUtf8().size()) {
        std::fprintf(stderr, "vistrel-embed-pictures: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
