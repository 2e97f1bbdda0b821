#include "cli/thunar_actions.h"

#include <QString>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <optional>

namespace deploy {
namespace {

// Where things are in the file's text, in UTF-16 units as the reader counts them.
struct Span {
    qint64 begin = 0;
    qint64 end = 0;
};

struct ActionsLayout {
    // Where the root's end tag begins: a new action goes there.
    qint64 rootEnd = 0;
    std::optional<Span> action;
};

// Where the tag that the reader has just read begins. The reader's offset is where the tag
// ends; the text before it may have been read one character ahead, so the tag's "<" is looked
// for: it cannot stand inside a tag.
qint64 TagBegin(const QString& text, const QXmlStreamReader& reader) {
    return text.lastIndexOf(u'<', reader.characterOffset() - 1);
}

// Finds the root element <actions>, its end, and the action with the unique id.
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
        } else if (token == QXmlStreamReader::EndElement && reader.name() == u"action" &&
                   idHere == uniqueId) {
            layout.action = Span{actionBegin, reader.characterOffset()};
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

QString Decoded(const std::string& bytes) {
    QString text = QString::fromStdString(bytes);
    if (text.toStdString() != bytes) {
        throw UnreadableThunarActions("il n'est pas en UTF-8");
    }
    return text;
}

} // namespace

std::string WithThunarAction(const std::string& actionsFile, const ThunarAction& action) {
    const QString element = ActionElement(action);
    if (actionsFile.empty()) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n" + element.toStdString() +
               "\n</actions>\n";
    }
    QString text = Decoded(actionsFile);
    const ActionsLayout layout = Layout(text, QString::fromStdString(action.uniqueId));
    if (layout.action) {
        text.replace(layout.action->begin, layout.action->end - layout.action->begin, element);
    } else {
        text.insert(layout.rootEnd, element + u'\n');
    }
    return text.toStdString();
}

std::string WithoutThunarAction(const std::string& actionsFile, const std::string& uniqueId) {
    QString text = Decoded(actionsFile);
    const ActionsLayout layout = Layout(text, QString::fromStdString(uniqueId));
    if (!layout.action) {
        return actionsFile;
    }
    const qint64 end = layout.action->end + (text.mid(layout.action->end, 1) == u"\n" ? 1 : 0);
    text.remove(layout.action->begin, end - layout.action->begin);
    return text.toStdString();
}

} // namespace deploy
