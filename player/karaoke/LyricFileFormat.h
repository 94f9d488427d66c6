#pragma once

#include <QList>
#include <QString>

// An LRC ID tag line ("[al:Album]") as the file had it.
struct LrcIdTag {
    QString Key;   // as spelled in the file ("ti", "AR", "offset", ...)
    QString Value; // the text between the colon and the closing bracket
    QString Line;  // the whole line without its line end, written back while the value is unchanged
};

// How a lyric document was read, so that saving writes the file the same way: the dialect, the
// encoding with its byte-order mark, and what an LRC file needs to come out as it went in.
struct CLyricFileFormat {
    enum class Dialect {
        Own, // "[mm:ss:xx]" tags anywhere, "@" header lines
        Lrc, // standard and enhanced LRC: line tags "[mm:ss.xx]", word tags "<mm:ss.xx>", ID tags
    };

    Dialect TextDialect = Dialect::Own;

    // The code page the read left (0: UTF-16LE with FF FE) and whether the file began with a
    // byte-order mark; a save in the same code page writes the same mark.
    int CodePage = 0;
    bool ByteOrderMark = false;
    // The file held bytes the code page could not read (see CLyricEncoding): saving it in that
    // page would put "?" where they were, so it is not saved there.
    bool LossyDecode = false;

    // LRC only: the ID tags in file order, the line end of the file and the digits of the
    // fraction of a second its time tags had (2 for hundredths, 3 for milliseconds).
    QList<LrcIdTag> IdTags;
    QString LineEnd = QStringLiteral("\r\n");
    int FractionDigits = 2;
    // Word tags inside a line were written "[mm:ss.xx]" rather than "<mm:ss.xx>".
    bool SquareWordTags = false;

    bool IsLrc() const { return TextDialect == Dialect::Lrc; }
};
