// Renders the Qt window's toolbar icons (the style's standard icons) into .ico files for the
// Windows window, so that both windows show the same images. Each .ico holds 16, 24 and 32
// pixel images (100, 150 and 200 % DPI) as 32-bit DIBs with alpha.
//   render-icons <output folder>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QStyle>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void PutU16(QByteArray& out, std::uint16_t value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

void PutU32(QByteArray& out, std::uint32_t value) {
    PutU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

// One image as an icon's DIB: the header (twice the height: colour and mask), the BGRA rows
// bottom up, then the AND mask (all zero: the alpha decides).
QByteArray IconDib(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int size = image.width();
    QByteArray dib;
    PutU32(dib, 40);
    PutU32(dib, static_cast<std::uint32_t>(size));
    PutU32(dib, static_cast<std::uint32_t>(size * 2));
    PutU16(dib, 1);
    PutU16(dib, 32);
    for (int i = 0; i < 6; ++i) {
        PutU32(dib, 0);
    }
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x) {
            dib.append(static_cast<char>(qBlue(row[x])));
            dib.append(static_cast<char>(qGreen(row[x])));
            dib.append(static_cast<char>(qRed(row[x])));
            dib.append(static_cast<char>(qAlpha(row[x])));
        }
    }
    const int maskStride = ((size + 31) / 32) * 4;
    dib.append(QByteArray(maskStride * size, '\0'));
    return dib;
}

bool WriteIco(const QString& path, const QIcon& icon, const std::vector<int>& sizes) {
    std::vector<QByteArray> images;
    for (const int size : sizes) {
        images.push_back(IconDib(icon.pixmap(size, size).toImage().scaled(size, size)));
    }
    QByteArray ico;
    PutU16(ico, 0);
    PutU16(ico, 1);
    PutU16(ico, static_cast<std::uint16_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        ico.append(static_cast<char>(sizes[i]));
        ico.append(static_cast<char>(sizes[i]));
        ico.append('\0');  // no palette
        ico.append('\0');
        PutU16(ico, 1);
        PutU16(ico, 32);
        PutU32(ico, static_cast<std::uint32_t>(images[i].size()));
        PutU32(ico, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const QByteArray& image : images) {
        ico.append(image);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(ico) == ico.size();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: render-icons <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    // The actions' images as the Qt window's BuildActions and BuildUndoAction take them.
    const struct {
        const char* name;
        QStyle::StandardPixmap pixmap;
    } icons[] = {
        {"konwersja", QStyle::SP_MediaPlay},      {"firmy", QStyle::SP_DirOpenIcon},
        {"pomoc", QStyle::SP_MessageBoxQuestion}, {"wyczysc", QStyle::SP_DialogResetButton},
        {"koniec", QStyle::SP_DialogCloseButton}, {"cofnij", QStyle::SP_ArrowBack},
    };
    for (const auto& icon : icons) {
        const QString path = out.filePath(QString::fromLatin1(icon.name) + ".ico");
        if (!WriteIco(path, application.style()->standardIcon(icon.pixmap), {16, 24, 32})) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
