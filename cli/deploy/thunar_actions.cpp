#include "cli/deploy/thunar_actions.h"

#include "encoding/utf8.h"

#include <QString>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <vector>

namespace deploy {
namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
const QString RecordStart = QStringLiteral(" lirvane-deploy: ");
const QString OurIdStart = QStringLiteral("lirvane-");

// Where things are in the file's text, in UTF-16 units as the reader counts them.
struct Span {
    qint64 begin = 0;
    qint64 end = 0;
};

struct ActionsLayout {
    // Where the root's end tag begins: a new action goes there.
    qint64 rootEnd = 0;
    std::optional<Span> action;
    std::optional<Span> record;
    QString recordText;
    // Whether actions of lirvane-deploy other than the one asked for are there.
    bool othersOfOurs = false;
};

// Where the tag or comment that the reader has just read begins. The reader's offset is where it
// ends; the text before it may have been read one character ahead, so its "<" is looked for: it
// cannot stand inside a tag, nor inside our comment.
qint64 TagBegin(const QString& text, const QXmlStreamReader& reader) {
    return text.lastIndexOf(u'<', reader.characterOffset() - 1);
}

// Finds the root element <actions>, its end, the action with the unique id and our record.
ActionsLayout Layout(const QString& text, const QString& uniqueId) {
    QXmlStreamReader reader(text);
    ActionsLayout layout;
    qint64 actionBegin = 0;
    QString idHere;
    bool rootSeen = false;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        const bool root = reader.name() == u"actions";
        if (token == QXmlStreamReader::StartElement && !rootSeen && !root) {
            break;
        }
        rootSeen = rootSeen || token == QXmlStreamReader::StartElement;
        if (token == QXmlStreamReader::StartElement && reader.name() == u"action") {
            actionBegin = TagBegin(text, reader);
            idHere.clear();
        } else if (token == QXmlStreamReader::StartElement && reader.name() == u"unique-id") {
            idHere = reader.readElementText();
        } else if (token == QXmlStreamReader::EndElement && reader.name() == u"action") {
            if (idHere == uniqueId)
                layout.action = Span{actionBegin, reader.characterOffset()};
            else if (idHere.startsWith(OurIdStart))
                layout.othersOfOurs = true;
        } else if (token == QXmlStreamReader::Comment && !layout.record &&
                   reader.text().startsWith(RecordStart)) {
            layout.record = Span{TagBegin(text, reader), reader.characterOffset()};
            layout.recordText = reader.text().mid(RecordStart.size()).trimmed().toString();
        } else if (token == QXmlStreamReader::EndElement && root) {
            layout.rootEnd = TagBegin(text, reader);
        }
    }
    if (reader.hasError()) {
        throw UnreadableThunarActions(QStringLiteral("ce n'est pas du XML valable (ligne %1 : %2)")
                                          .arg(reader.lineNumber())
                                          .arg(reader.errorString())
                                          .toStdString());
    }
    // An empty root, <actions/>, has no end tag to insert before.
    if (layout.rootEnd == 0 || !text.mid(layout.rootEnd).startsWith(u"</")) {
        throw UnreadableThunarActions("il ne contient pas de liste d'actions <actions>…</actions>");
    }
    return layout;
}

QString ActionElement(const ThunarAction& action) {
    QString element;
    QXmlStreamWriter writer(&element);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(-1);
    writer.writeStartElement(QStringLiteral("action"));
    writer.writeTextElement(QStringLiteral("icon"), QString::fromStdString(action.icon));
    writer.writeTextElement(QStringLiteral("name"), QString::fromStdString(action.name));
    writer.writeTextElement(QStringLiteral("submenu"), {});
    writer.writeTextElement(QStringLiteral("unique-id"), QString::fromStdString(action.uniqueId));
    writer.writeTextElement(QStringLiteral("command"), QString::fromStdString(action.command));
    writer.writeTextElement(QStringLiteral("description"),
                            QString::fromStdString(action.description));
    writer.writeTextElement(QStringLiteral("range"), {});
    writer.writeTextElement(QStringLiteral("patterns"), QStringLiteral("*"));
    // Every kind of file, no folder.
    for (const char16_t* kind :
         {u"audio-files", u"image-files", u"other-files", u"text-files", u"video-files"}) {
        writer.writeEmptyElement(QString::fromUtf16(kind));
    }
    writer.writeEndElement();
    return element.trimmed();
}

// The file's text, and its byte-order mark, which is kept.
struct ActionsText {
    QString text;
    bool marked = false;

    std::string Bytes() const {
        return (marked ? std::string(ByteOrderMark) : std::string()) + text.toStdString();
    }
};

ActionsText Decoded(std::string_view bytes) {
    const bool marked = bytes.starts_with(ByteOrderMark);
    if (marked)
        bytes.remove_prefix(ByteOrderMark.size());
    if (!mdCode::IsUtf8(bytes))
        throw UnreadableThunarActions("il n'est pas en UTF-8");
    return {QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())), marked};
}

// The span with the line break behind it.
qint64 EndWithLineBreak(const QString& text, const Span& span) {
    return span.end + (text.mid(span.end, 1) == u"\n" ? 1 : 0);
}

} // namespace

std::string WithThunarAction(const std::string& actionsFile, const ThunarAction& action,
                             std::string_view record) {
    const QString element = ActionElement(action);
    const QString comment = record.empty() ? QString()
                                           : QStringLiteral("<!--") + RecordStart +
                                                 QString::fromStdString(std::string(record)) +
                                                 QStringLiteral(" -->\n");
    ActionsText file = Decoded(actionsFile.empty() ? EmptyThunarActions() : actionsFile);
    const ActionsLayout layout = Layout(file.text, QString::fromStdString(action.uniqueId));
    if (layout.action) {
        file.text.replace(layout.action->begin, layout.action->end - layout.action->begin, element);
    } else {
        file.text.insert(layout.rootEnd, (layout.record ? QString() : comment) + element + u'\n');
    }
    return file.Bytes();
}

std::string WithoutThunarAction(const std::string& actionsFile, const std::string& uniqueId) {
    ActionsText file = Decoded(actionsFile);
    const ActionsLayout layout = Layout(file.text, QString::fromStdString(uniqueId));
    if (!layout.action) {
        return actionsFile;
    }
    std::vector<Span> cut = {*layout.action};
    if (layout.record && !layout.othersOfOurs)
        cut.push_back(*layout.record);
    // The later span first, so that the earlier one's offsets still hold.
    std::sort(cut.begin(), cut.end(),
              [](const Span& a, const Span& b) { return a.begin > b.begin; });
    for (const Span& span : cut)
        file.text.remove(span.begin, EndWithLineBreak(file.text, span) - span.begin);
    return file.Bytes();
}

std::string EmptyThunarActions() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n";
}

std::optional<std::string> ThunarRecord(const std::string& actionsFile) {
    const ActionsLayout layout = Layout(Decoded(actionsFile).text, {});
    if (!layout.record)
        return std::nullopt;
    return layout.recordText.toStdString();
}

} // namespace deploy
