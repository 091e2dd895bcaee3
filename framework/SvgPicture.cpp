#include "framework/SvgPicture.h"
#include "framework/PictureTexts.h"

#include <QCoreApplication>
#include <QHash>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>
#include <zlib.h>

namespace {

// The longest text an SVG file may have, inflated; and what its entities and its characters may
// expand to.
constexpr qint64 kMaxSvgBytes = 32LL * 1024 * 1024;
constexpr qint64 kMaxSvgTextCharacters = 16LL * 1024 * 1024;
// The most elements a picture may have (Qt SVG holds each as an object of a few hundred bytes),
// the most it may draw, each copy a <use> makes counted, and the deepest they may nest (drawing
// goes down the nesting on the thread's stack).
constexpr qint64 kMaxSvgElements = 250'000;
constexpr qint64 kMaxSvgDrawnElements = 2'000'000;
constexpr int kMaxSvgDepth = 256;
// The most pixels of all the raster pictures embedded in one vector picture together.
constexpr qint64 kMaxSvgEmbeddedPixels = 16LL * 1000 * 1000;


bool IsGzip(QByteArrayView bytes)
{
    return bytes.size() >= 2 && uchar(bytes[0]) == 0x1F && uchar(bytes[1]) == 0x8B;
}

// The text of a gzip-compressed file, inflated no further than kMaxSvgBytes.
std::optional<QByteArray> Inflated(QByteArrayView bytes, QString* problem)
{
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
        *problem = PictureFile::tr("Рисунок SVGZ нельзя распаковать.");
        return std::nullopt;
    }
    QByteArray text;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = uInt(bytes.size());
    int status = Z_OK;
    while (status == Z_OK) {
        if (text.size() >= kMaxSvgBytes) {
            *problem = PictureFile::tr("Рисунок SVG слишком велик: его текст длиннее %1 МБ.").arg(kMaxSvgBytes >> 20);
            break;
        }
        const qsizetype done = text.size();
        text.resize(std::min<qsizetype>(kMaxSvgBytes, std::max<qsizetype>(64 * 1024, 2 * done)));
        stream.next_out = reinterpret_cast<Bytef*>(text.data() + done);
        stream.avail_out = uInt(text.size() - done);
        status = inflate(&stream, Z_NO_FLUSH);
        text.resize(text.size() - stream.avail_out);
        if (status == Z_BUF_ERROR && stream.avail_in == 0)
            *problem = PictureFile::tr("Файл SVGZ обрезан.");
        else if (status != Z_OK && status != Z_STREAM_END)
            *problem = PictureFile::tr("Рисунок SVGZ повреждён.");
    }
    inflateEnd(&stream);
    return problem->isEmpty() ? std::optional(text) : std::nullopt;
}

// The elements of a vector picture as far as drawing them goes: each one's parent, and the
// element a <use> copies.
struct TSvgOutline {
    std::vector<int> Parent;
    std::vector<QString> Copies;  // the id a <use> names, empty for other elements
    QHash<QString, int> Ids;
};

// Why a "data:" address embedded in the picture cannot be used; empty when it can. Its picture's
// size is added to `pixels`.
QString EmbeddedProblem(const QString& address, const TEmbeddedPictureCheck& embedded, qint64& pixels)
{
    const qsizetype comma = address.indexOf(QLatin1Char(','));
    if (comma < 0 || !address.left(comma).endsWith(QLatin1String(";base64"), Qt::CaseInsensitive))
        return PictureFile::tr("Рисунок SVG ссылается на что-то вне себя.");
    const auto decoded = QByteArray::fromBase64Encoding(address.sliced(comma + 1).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return PictureFile::tr("Рисунок, вложенный в рисунок SVG, повреждён.");
    QSize size;
    const QString problem = embedded(*decoded, &size);
    if (!problem.isEmpty())
        return problem;
    pixels += qint64(size.width()) * size.height();
    return pixels > kMaxSvgEmbeddedPixels ? PictureFile::tr("Рисунки, вложенные в рисунок SVG, слишком велики.") : QString();
}

// Checks an element's references: into the file itself, a link that is never followed, or a
// picture embedded whole.
QString ReferenceProblem(const QXmlStreamReader& xml, TSvgOutline& outline, const TEmbeddedPictureCheck& embedded, qint64& pixels)
{
    for (const QXmlStreamAttribute& attribute : xml.attributes()) {
        if (attribute.name() != QLatin1String("href"))
            continue;
        const QString target = attribute.value().trimmed().toString();
        if (xml.name() == QLatin1String("a"))
            continue;  // a link: drawing never follows it
        if (target.startsWith(QLatin1Char('#'))) {
            if (xml.name() == QLatin1String("use"))
                outline.Copies.back() = target.sliced(1);
        } else if (xml.name() == QLatin1String("image") && target.startsWith(QLatin1String("data:"), Qt::CaseInsensitive)) {
            if (QString problem = EmbeddedProblem(target, embedded, pixels); !problem.isEmpty())
                return problem;
        } else {
            return PictureFile::tr("Рисунок SVG ссылается на что-то вне себя.");
        }
    }
    return {};
}

// Entities of the file's own whose values name no other entity.
QString EntityProblem(const QXmlStreamReader& xml)
{
    for (const QXmlStreamEntityDeclaration& entity : xml.entityDeclarations()) {
        if (!entity.systemId().isEmpty() || !entity.publicId().isEmpty() || !entity.notationName().isEmpty())
            return PictureFile::tr("Рисунок SVG ссылается на что-то вне себя.");
        if (entity.value().contains(QLatin1Char('&')))
            return PictureFile::tr("Рисунок SVG повреждён: его сущности вложены одна в другую.");
    }
    return {};
}

// Reads the text through, outlining its elements; why it cannot be used, or empty.
QString ReadOutline(const QByteArray& text, TSvgOutline& outline, const TEmbeddedPictureCheck& embedded)
{
    QXmlStreamReader xml(text);
    std::vector<int> open;
    qint64 characters = 0, pixels = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        QString problem;
        if (token == QXmlStreamReader::DTD) {
            problem = EntityProblem(xml);
        } else if (token == QXmlStreamReader::StartElement) {
            if (outline.Parent.empty() && xml.name() != QLatin1String("svg"))
                return PictureFile::tr("Это не рисунок SVG.");
            if (open.size() >= size_t(kMaxSvgDepth))
                return PictureFile::tr("Рисунок SVG вложен слишком глубоко.");
            if (qint64(outline.Parent.size()) >= kMaxSvgElements)
                return PictureFile::tr("Рисунок SVG слишком сложен: в нём больше %1 элементов.").arg(kMaxSvgElements);
            const int element = int(outline.Parent.size());
            outline.Parent.push_back(open.empty() ? -1 : open.back());
            outline.Copies.emplace_back();
            if (const QStringView id = xml.attributes().value(QLatin1String("id")); !id.isEmpty())
                outline.Ids.insert(id.toString(), element);
            for (const QXmlStreamAttribute& attribute : xml.attributes())
                characters += attribute.value().size();
            open.push_back(element);
            problem = ReferenceProblem(xml, outline, embedded, pixels);
        } else if (token == QXmlStreamReader::EndElement) {
            open.pop_back();
        } else if (token == QXmlStreamReader::Characters) {
            characters += xml.text().size();
        }
        if (characters > kMaxSvgTextCharacters)
            problem = PictureFile::tr("Рисунок SVG слишком велик: его текст слишком длинен.");
        if (!problem.isEmpty())
            return problem;
    }
    if (xml.hasError() || outline.Parent.empty())
        return PictureFile::tr("Рисунок SVG повреждён или обрезан (%1).").arg(xml.errorString());
    return {};
}

// How many elements drawing the picture draws, each copy a <use> makes counted, and how deep
// they nest; a refusal when that is too much or a <use> copies itself.
QString DrawingProblem(const TSvgOutline& outline)
{
    const int count = int(outline.Parent.size());
    std::vector<std::vector<int>> next(static_cast<size_t>(count));  // the children, then what a <use> copies
    for (int element = 1; element < count; ++element)
        next[size_t(outline.Parent[size_t(element)])].push_back(element);
    for (int element = 0; element < count; ++element)
        if (!outline.Copies[size_t(element)].isEmpty())
            if (const auto target = outline.Ids.constFind(outline.Copies[size_t(element)]); target != outline.Ids.cend())
                next[size_t(element)].push_back(*target);
    enum class TState { New, Open, Done };
    std::vector<TState> state(size_t(count), TState::New);
    std::vector<qint64> drawn(size_t(count), 1);
    std::vector<int> depth(size_t(count), 1);
    std::vector<std::pair<int, size_t>> path{{0, 0}};  // elements being counted, and the next one to go to
    state[0] = TState::Open;
    while (!path.empty()) {
        auto& [element, at] = path.back();
        if (at < next[size_t(element)].size()) {
            const int to = next[size_t(element)][at++];
            if (state[size_t(to)] == TState::Open)
                return PictureFile::tr("Рисунок SVG повреждён: элемент копирует сам себя.");
            if (state[size_t(to)] == TState::New) {
                state[size_t(to)] = TState::Open;
                path.emplace_back(to, 0);
            }
            continue;
        }
        for (const int to : next[size_t(element)]) {
            drawn[size_t(element)] = std::min(drawn[size_t(element)] + drawn[size_t(to)], kMaxSvgDrawnElements + 1);
            depth[size_t(element)] = std::max(depth[size_t(element)], depth[size_t(to)] + 1);
        }
        state[size_t(element)] = TState::Done;
        path.pop_back();
    }
    if (drawn[0] > kMaxSvgDrawnElements)
        return PictureFile::tr("Рисунок SVG слишком сложен: в нём больше %1 элементов.").arg(kMaxSvgDrawnElements);
    return depth[0] > kMaxSvgDepth ? PictureFile::tr("Рисунок SVG вложен слишком глубоко.") : QString();
}

// Styles that would fetch something: an import, or an address that is not a part of the file.
bool StylesReachOutside(const QByteArray& text)
{
    static const QRegularExpression outside(QStringLiteral(R"(@import|url\(\s*['"]?\s*(?!['"\s]*#))"),
                                            QRegularExpression::CaseInsensitiveOption);
    return outside.match(QString::fromUtf8(text)).hasMatch();
}

// The size the picture is drawn at: its shorter side at `side` (or its own size), no more than
// `mostPixels` in all.
QSize DrawnSize(QSizeF declared, int side, qint64 mostPixels)
{
    double scale = side > 0 ? side / std::min(declared.width(), declared.height()) : 1.0;
    const double pixels = declared.width() * declared.height() * scale * scale;
    if (pixels > double(mostPixels))
        scale *= std::sqrt(double(mostPixels) / pixels);
    return QSize(std::max(1, int(declared.width() * scale)), std::max(1, int(declared.height() * scale)));
}

QImage Refused(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return {};
}

} // namespace

bool IsSvgPicture(QByteArrayView bytes)
{
    if (IsGzip(bytes))
        return true;
    QByteArrayView head = bytes.first(std::min<qsizetype>(bytes.size(), 64 * 1024));
    if (head.startsWith("\xEF\xBB\xBF"))
        head = head.sliced(3);
    return head.trimmed().startsWith('<') && head.contains("<svg");
}

QImage ReadSvgPicture(const QByteArray& bytes, int side, qint64 mostPixels, const TEmbeddedPictureCheck& embedded, QString* error)
{
    QString problem;
    QByteArray text = bytes;
    if (IsGzip(bytes)) {
        const std::optional<QByteArray> inflated = Inflated(bytes, &problem);
        if (!inflated)
            return Refused(error, problem);
        text = *inflated;
    } else if (bytes.size() > kMaxSvgBytes) {
        return Refused(error, PictureFile::tr("Рисунок SVG слишком велик: его текст длиннее %1 МБ.").arg(kMaxSvgBytes >> 20));
    }
    TSvgOutline outline;
    problem = ReadOutline(text, outline, embedded);
    if (problem.isEmpty())
        problem = StylesReachOutside(text) ? PictureFile::tr("Рисунок SVG ссылается на что-то вне себя.") : DrawingProblem(outline);
    if (!problem.isEmpty())
        return Refused(error, problem);
    QSvgRenderer renderer(text);
    QSizeF declared = renderer.defaultSize();
    if (declared.isEmpty())
        declared = renderer.viewBoxF().size();
    if (!renderer.isValid() || declared.isEmpty() || !(declared.width() < 1e9 && declared.height() < 1e9))
        return Refused(error, PictureFile::tr("Рисунок SVG повреждён: его размеры неверны."));
    if (declared.width() * declared.height() > double(mostPixels))
        return Refused(error, PictureFile::tr("Рисунок слишком велик: в нём больше %1 миллионов точек.").arg(mostPixels / 1000000));
    QImage picture(DrawnSize(declared, side, mostPixels), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    renderer.render(&painter, QRectF(QPointF(0, 0), picture.size()));
    return picture;
}
