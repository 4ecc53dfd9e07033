#pragma once

#include "ui/FillSummary.h"

#include <QLabel>

class BrowserSession;
class FillPass;

// The status bar's line on what the fill passes did to the page one window shows, told for the
// product the session fills from and the date of its PAD file. Object name "fillStatus".
class FillStatusLabel final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FillStatusLabel)
public:
    // `pass` and `session` outlive the label.
    FillStatusLabel(const FillPass& pass, const BrowserSession& session, QWidget* parent);

private:
    FillSummary m_summary;
};
