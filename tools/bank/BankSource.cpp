#include "tools/bank/BankSource.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {
const QString kMisplacedExplanation = QStringLiteral("a '! ' explanation line stands right after option 4");

QString readUtf8(const QString& path, bool* ok) {
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

const BankCategory* BankSource::category(const QString& code) const {
    for (const BankCategory& c : categories) {
        if (c.code == code)
            return &c;
    }
    return nullptr;
}

void ParseCategories(const QString& text, const QString& where, BankSource& into) {
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = lines[i].split(u'\t');
        bool ok = false;
        BankCategory c;
        if (fields.size() == 4) {
            c.code = fields[0].trimmed();
            c.order = fields[1].trimmed().toInt(&ok);
            c.collection = fields[2].trimmed();
            c.title = fields[3].trimmed();
        }
        if (!ok || c.code.isEmpty() || c.title.isEmpty() ||
            !QStringList{"general", "signs", "old"}.contains(c.collection)) {
            into.errors.append(QStringLiteral("%1:%2: expected code<TAB>order<TAB>collection<TAB>title")
                                   .arg(where)
                                   .arg(i + 1));
            continue;
        }
        into.categories.append(c);
    }
}

void ParseQuestions(const QString& text, const QString& where, BankSource& into) {
    static const QRegularExpression head(QStringLiteral(R"(^=\s+(\d+)\s+(\S+)\s+([1-4])\s+(\S+)\s*$)"));
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    int i = 0;
    const auto error = [&](int line, const QString& what) {
        into.errors.append(QStringLiteral("%1:%2: %3").arg(where).arg(line + 1).arg(what));
    };
    while (i < lines.size()) {
        const QString line = lines[i];
        if (line.trimmed().isEmpty() || line.startsWith(u'#')) {
            ++i;
            continue;
        }
        const auto m = head.match(line);
        if (!m.hasMatch()) {
            error(i, line.startsWith(u'!') ? kMisplacedExplanation
                                           : QStringLiteral("expected '= ID CATEGORY CORRECT PICTURE'"));
            while (i < lines.size() && !lines[i].trimmed().isEmpty())
                ++i;
            continue;
        }
        BankQuestion q;
        q.where = QStringLiteral("%1:%2").arg(where).arg(i + 1);
        q.id = m.captured(1).toInt();
        q.category = m.captured(2);
        q.correct = m.captured(3).toInt();
        q.picture = m.captured(4) == QLatin1String("-") ? QString() : m.captured(4);
        bool ok = i + 5 < lines.size() && lines[i + 1].startsWith(QLatin1String("? "));
        for (int k = 0; ok && k < 4; ++k)
            ok = lines[i + 2 + k].startsWith(QString::number(k + 1) + u' ');
        if (!ok) {
            // An explanation standing among the options is named where it stands.
            int stray = -1;
            for (int j = i + 1; stray < 0 && j <= i + 5 && j < lines.size() && !lines[j].trimmed().isEmpty();
                 ++j)
                stray = lines[j].startsWith(u'!') ? j : -1;
            if (stray >= 0)
                error(stray, kMisplacedExplanation);
            else
                error(i, QStringLiteral("expected a '? ' line and four option lines '1 ' to '4 '"));
            while (i < lines.size() && !lines[i].trimmed().isEmpty())
                ++i;
            continue;
        }
        q.text = lines[i + 1].mid(2).trimmed();
        for (int k = 0; k < 4; ++k)
            q.options[k] = lines[i + 2 + k].mid(2).trimmed();
        i += 6;
        if (i < lines.size() && lines[i].startsWith(u'!')) {
            q.explanation = lines[i].mid(1).trimmed();
            if (!lines[i].startsWith(QLatin1String("! ")) || q.explanation.isEmpty())
                error(i, QStringLiteral("expected '! ' and the explanation on one line"));
            ++i;
        }
        if (i < lines.size() && !lines[i].trimmed().isEmpty()) {
            error(i, lines[i].startsWith(u'!') ? kMisplacedExplanation
                                               : QStringLiteral("a record ends with a blank line"));
            // The rest of the record is passed over, so one fault is told once.
            while (i < lines.size() && !lines[i].trimmed().isEmpty())
                ++i;
        }
        into.questions.append(q);
    }
}

BankSource ReadBankSource(const QString& bankDir) {
    BankSource source;
    const QDir dir(bankDir);
    bool ok = false;
    const QString categories = readUtf8(dir.filePath(QStringLiteral("categories.tsv")), &ok);
    if (!ok)
        source.errors.append(dir.filePath(QStringLiteral("categories.tsv")) +
                             QStringLiteral(": cannot be read"));
    ParseCategories(categories, QStringLiteral("categories.tsv"), source);
    const QDir questions(dir.filePath(QStringLiteral("questions")));
    for (const QString& name : questions.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        const QString text = readUtf8(questions.filePath(name), &ok);
        if (!ok)
            source.errors.append(name + QStringLiteral(": cannot be read"));
        ParseQuestions(text, QStringLiteral("questions/") + name, source);
    }
    return source;
}
