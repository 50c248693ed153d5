#pragma once
// The lines a WebView and its web engine process (tianbo-web) exchange over the process's
// standard input and output: a word, then arguments separated by single spaces, each
// percent-encoded so that no argument holds a space or a line break.
//
//   to the engine                    from the engine
//   navigate URL                     title TITLE
//   html HTML                        error URL STATUS   (STATUS 0: not reached)
//   silent 0|1                       complete URL
//   errorpage 0|1                    text ID TEXT
//   size WIDTH HEIGHT
//   text ID
//
// The engine's process quits when its standard input ends.

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

namespace platform::webhost {

inline QByteArray encodeLine(const QByteArray& word, const QStringList& args) {
    QByteArray line = word;
    for (const QString& arg : args) line += ' ' + arg.toUtf8().toPercentEncoding();
    return line + '\n';
}

// The word and arguments of one line (without its line break).
struct Line {
    QByteArray word;
    QStringList args;

    QString arg(qsizetype i) const { return args.value(i); }
};

inline Line decodeLine(const QByteArray& line) {
    const QByteArrayList parts = line.split(' ');
    Line decoded{parts.value(0), {}};
    for (qsizetype i = 1; i < parts.size(); ++i)
        decoded.args << QString::fromUtf8(QByteArray::fromPercentEncoding(parts[i]));
    return decoded;
}

// Takes the complete lines off the front of `buffer`.
inline QList<Line> takeLines(QByteArray& buffer) {
    QList<Line> lines;
    for (qsizetype end = buffer.indexOf('\n'); end >= 0; end = buffer.indexOf('\n')) {
        lines << decodeLine(buffer.left(end));
        buffer.remove(0, end + 1);
    }
    return lines;
}

} // namespace platform::webhost
