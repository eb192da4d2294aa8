#include "GlyphArt.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QLoggingCategory>
#include <QPainter>
#include <QQuickWindow>
#include <QSGImageNode>
#include <charconv>
#include <cmath>

Q_LOGGING_CATEGORY(lcGlyphArt, "glimp.ui.glyphart")

GlyphArt::GlyphArt(QQuickItem *parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents);
}

void GlyphArt::setSource(const QString &source)
{
    if (source == m_source)
        return;
    m_source = source;
    m_art = {};
    QFile file(source);
    if (file.open(QIODevice::ReadOnly)) {
        if (const std::optional<Art> art = parse(file.readAll()))
            m_art = *art;
        else
            qCWarning(lcGlyphArt) << "not glyphs set by hb-view:" << source;
    } else if (!source.isEmpty()) {
        qCWarning(lcGlyphArt) << "cannot read" << source;
    }
    setImplicitSize(m_art.size.width(), m_art.size.height());
    emit sourceChanged();
    repaint();
}

void GlyphArt::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    emit colorChanged();
    repaint();
}

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A number at `at` (after separators), moving `at` past it. std::from_chars: the locale's
// and QXmlStreamReader's ways cost the first frame more than the drawing.
std::optional<double> numberAt(QByteArrayView text, qsizetype &at)
{
    while (at < text.size() && (isSpace(text[at]) || text[at] == ','))
        ++at;
    qsizetype from = at;
    if (from < text.size() && text[from] == '+')
        ++from;
    double value = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + from, end, value);
    if (error != std::errc() || !std::isfinite(value))
        return std::nullopt;
    at = stop - text.data();
    return value;
}

std::optional<double> wholeNumber(QByteArrayView text)
{
    qsizetype at = 0;
    const std::optional<double> value = text.trimmed().isEmpty() ? 0.0 : numberAt(text, at);
    while (at < text.size() && isSpace(text[at]))
        ++at;
    return at == text.size() ? value : std::nullopt;
}

// The tags of a document as plain as hb-view's: names and quoted attributes; declarations,
// comments and text between tags are passed over.
class TagReader
{
public:
    explicit TagReader(QByteArrayView text) : m_text(text) {}

    enum Kind { Start, End, Empty, Done, Broken };

    // The next tag; for Start and Empty, its attributes are then at hand.
    Kind next()
    {
        m_attributes.clear();
        for (;;) {
            m_at = m_text.indexOf('<', m_at);
            if (m_at < 0)
                return Done;
            ++m_at;
            if (m_at < m_text.size() && (m_text[m_at] == '?' || m_text[m_at] == '!')) {
                m_at = m_text.indexOf('>', m_at);
                if (m_at < 0)
                    return Broken;
                continue;
            }
            break;
        }
        const bool closing = m_at < m_text.size() && m_text[m_at] == '/';
        if (closing)
            ++m_at;
        m_name = word();
        if (m_name.isEmpty())
            return Broken;
        for (;;) {
            skipSpaces();
            if (m_at >= m_text.size())
                return Broken;
            if (m_text[m_at] == '>') {
                ++m_at;
                return closing ? End : Start;
            }
            if (m_text[m_at] == '/' && m_at + 1 < m_text.size() && m_text[m_at + 1] == '>' && !closing) {
                m_at += 2;
                return Empty;
            }
            const QByteArrayView name = word();
            skipSpaces();
            if (name.isEmpty() || closing || m_at + 1 >= m_text.size() || m_text[m_at] != '=')
                return Broken;
            ++m_at;
            skipSpaces();
            const char quote = m_at < m_text.size() ? m_text[m_at] : 0;
            if (quote != '"' && quote != '\'')
                return Broken;
            const qsizetype close = m_text.indexOf(quote, m_at + 1);
            if (close < 0)
                return Broken;
            m_attributes.append({name, m_text.sliced(m_at + 1, close - m_at - 1)});
            m_at = close + 1;
        }
    }

    QByteArrayView name() const { return m_name; }
    bool has(QByteArrayView name) const { return find(name).has_value(); }
    QByteArrayView value(QByteArrayView name) const { return find(name).value_or(QByteArrayView()); }

private:
    std::optional<QByteArrayView> find(QByteArrayView name) const
    {
        for (const auto &[key, value] : m_attributes) {
            if (key == name)
                return value;
        }
        return std::nullopt;
    }

    void skipSpaces()
    {
        while (m_at < m_text.size() && isSpace(m_text[m_at]))
            ++m_at;
    }

    QByteArrayView word()
    {
        const qsizetype from = m_at;
        while (m_at < m_text.size() && !isSpace(m_text[m_at]) && m_text[m_at] != '>'
               && m_text[m_at] != '/' && m_text[m_at] != '=')
            ++m_at;
        return m_text.sliced(from, m_at - from);
    }

    QByteArrayView m_text;
    qsizetype m_at = 0;
    QByteArrayView m_name;
    QList<std::pair<QByteArrayView, QByteArrayView>> m_attributes;
};

} // namespace

std::optional<QPainterPath> GlyphArt::parsePathData(QByteArrayView data)
{
    qsizetype i = 0;
    QPainterPath path;
    QPointF current;
    QPointF subpathStart;
    char command = 0;
    for (;;) {
        while (i < data.size() && (isSpace(data[i]) || data[i] == ','))
            ++i;
        if (i >= data.size())
            return path;
        const char c = data[i];
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            command = c;
            ++i;
        } else if (command == 0) { // numbers with no command before them, or after a close
            return std::nullopt;
        }
        const bool relative = command >= 'a';
        const QPointF origin = relative ? current : QPointF();
        const auto point = [&]() -> std::optional<QPointF> {
            const std::optional<double> x = numberAt(data, i);
            const std::optional<double> y = x ? numberAt(data, i) : std::nullopt;
            if (!y)
                return std::nullopt;
            return origin + QPointF(*x, *y);
        };
        switch (relative ? command - 'a' + 'A' : command) {
        case 'M': {
            const auto to = point();
            if (!to)
                return std::nullopt;
            path.moveTo(*to);
            current = subpathStart = *to;
            // Pairs after a move are lines.
            command = relative ? 'l' : 'L';
            break;
        }
        case 'L': {
            const auto to = point();
            if (!to)
                return std::nullopt;
            path.lineTo(*to);
            current = *to;
            break;
        }
        case 'H':
        case 'V': {
            const std::optional<double> value = numberAt(data, i);
            if (!value)
                return std::nullopt;
            QPointF to = current;
            if (command == 'H' || command == 'h')
                to.setX(*value + (relative ? current.x() : 0));
            else
                to.setY(*value + (relative ? current.y() : 0));
            path.lineTo(to);
            current = to;
            break;
        }
        case 'Q': {
            const auto control = point();
            const auto to = control ? point() : std::nullopt;
            if (!to)
                return std::nullopt;
            path.quadTo(*control, *to);
            current = *to;
            break;
        }
        case 'C': {
            const auto first = point();
            const auto second = first ? point() : std::nullopt;
            const auto to = second ? point() : std::nullopt;
            if (!to)
                return std::nullopt;
            path.cubicTo(*first, *second, *to);
            current = *to;
            break;
        }
        case 'Z':
            path.closeSubpath();
            current = subpathStart;
            command = 0;
            break;
        default:
            return std::nullopt;
        }
    }
}

std::optional<GlyphArt::Art> GlyphArt::parse(QByteArrayView svg)
{
    TagReader reader(svg);
    Art art;
    QHash<QByteArray, QPainterPath> glyphs;
    struct Placed
    {
        QByteArray id;
        QPointF at;
    };
    QList<Placed> placed;
    int depth = 0;
    int defsDepth = -1;
    int glyphDepth = -1;
    QByteArray glyph;
    for (;;) {
        const TagReader::Kind kind = reader.next();
        if (kind == TagReader::Done)
            break;
        if (kind == TagReader::Broken)
            return std::nullopt;
        if (kind == TagReader::End) {
            if (depth == glyphDepth)
                glyphDepth = -1;
            if (depth == defsDepth)
                defsDepth = -1;
            if (--depth < 0)
                return std::nullopt;
            continue;
        }
        ++depth;
        // Nothing hb-view writes is transformed; art that is would be drawn wrong.
        if (reader.has("transform"))
            return std::nullopt;
        const QByteArrayView name = reader.name();
        if (depth == 1) {
            if (name != "svg" || kind == TagReader::Empty)
                return std::nullopt;
            const QList<QByteArray> box = reader.value("viewBox").toByteArray().replace(',', ' ')
                                              .simplified().split(' ');
            const std::optional<double> width = box.size() == 4 ? wholeNumber(box[2]) : std::nullopt;
            const std::optional<double> height = box.size() == 4 ? wholeNumber(box[3]) : std::nullopt;
            if (!width || !height || *width <= 0 || *height <= 0)
                return std::nullopt;
            art.size = {*width, *height};
        } else if (name == "defs") {
            if (defsDepth < 0)
                defsDepth = depth;
        } else if (name == "path") {
            const std::optional<QPainterPath> path = parsePathData(reader.value("d"));
            if (!path)
                return std::nullopt;
            if (glyphDepth >= 0)
                glyphs[glyph].addPath(*path);
            else if (defsDepth < 0)
                art.outline.addPath(*path);
        } else if (name == "use") {
            QByteArrayView reference = reader.value("xlink:href");
            if (reference.isEmpty())
                reference = reader.value("href");
            const std::optional<double> x = wholeNumber(reader.value("x"));
            const std::optional<double> y = wholeNumber(reader.value("y"));
            if (!reference.startsWith('#') || !x || !y)
                return std::nullopt;
            placed.append({reference.sliced(1).toByteArray(), {*x, *y}});
        } else if (defsDepth >= 0 && glyphDepth < 0 && reader.has("id")) {
            glyph = reader.value("id").toByteArray();
            glyphDepth = depth;
            glyphs[glyph];
        }
        if (kind == TagReader::Empty) {
            if (depth == glyphDepth)
                glyphDepth = -1;
            if (depth == defsDepth)
                defsDepth = -1;
            --depth;
        }
    }
    if (depth != 0 || art.size.isEmpty())
        return std::nullopt;
    // As a font's rasteriser fills glyphs: a glyph's contours may overlap.
    art.outline.setFillRule(Qt::WindingFill);
    for (const Placed &use : std::as_const(placed)) {
        const auto found = glyphs.constFind(use.id);
        if (found == glyphs.cend())
            return std::nullopt;
        art.outline.addPath(found->translated(use.at));
    }
    return art;
}

void GlyphArt::repaint()
{
    m_imageStale = true;
    update();
}

void GlyphArt::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickItem::itemChange(change, value);
    // A window of another pixel density wants an image of another size.
    if (change == ItemDevicePixelRatioHasChanged || change == ItemSceneChange)
        repaint();
}

QRectF GlyphArt::area(const Art &art)
{
    return QRectF(QRectF(QPointF(), art.size) | art.outline.boundingRect())
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
}

QImage GlyphArt::paint(const Art &art, const QColor &color, qreal ratio)
{
    const QRectF box = area(art);
    QImage image((box.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-box.topLeft());
    painter.fillPath(art.outline, color);
    return image;
}

QSGNode *GlyphArt::updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *)
{
    auto *node = static_cast<QSGImageNode *>(oldNode);
    if (m_art.outline.isEmpty() || m_color.alpha() == 0) {
        delete node;
        return nullptr;
    }
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        // The image has the window's pixels; taken nearest, it stays as sharp as type
        // wherever the layout puts it between two pixels.
        node->setFiltering(QSGTexture::Nearest);
        m_imageStale = true;
    }
    if (m_imageStale) {
        const QImage image = paint(m_art, m_color, window()->effectiveDevicePixelRatio());
        node->setTexture(window()->createTextureFromImage(image));
        m_imageStale = false;
    }
    node->setRect(area(m_art));
    return node;
}
