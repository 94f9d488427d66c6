#pragma once

#include "platform/text/ReadingSource.h"

#include <QString>

#include <memory>

// Readings from MeCab with a UTF-8 dictionary of the IPA dictionary's feature layout (the reading
// in katakana is its eighth field). One model is shared; each reading takes a lattice of its own,
// so readings may run on several threads at once.
class CMecabReadingSource : public CReadingSource
{
public:
    ~CMecabReadingSource() override;

    // Null when MeCab cannot load the dictionary or it is not in UTF-8.
    static std::unique_ptr<CMecabReadingSource> Open(const QString& dictionaryFolder);

    std::vector<KanaText::WordPart> Read(QStringView text) const override;

private:
    struct Handles;
    explicit CMecabReadingSource(std::unique_ptr<Handles> handles);

    std::unique_ptr<Handles> m_handles;
};
