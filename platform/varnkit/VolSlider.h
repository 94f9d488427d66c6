#pragma once

#include "platform/varnkit/WmpSlider.h"

// The volume slider: the position slider's behaviour, drawn as a wedge that fills up to the
// volume.
class CVolSlider : public CWmpSlider
{
    Q_OBJECT
public:
    explicit CVolSlider(int controlId, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
