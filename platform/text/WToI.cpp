#include "platform/text/WToI.h"

int WToI(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    quint32 number = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        number = number * 10u + static_cast<quint32>(text[i].unicode() - u'0');
    return static_cast<int>(negative ? 0u - number : number);
}
