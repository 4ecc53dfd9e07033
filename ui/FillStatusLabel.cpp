#include "ui/FillStatusLabel.h"

#include "autofill/FillPass.h"
#include "ui/BrowserSession.h"

FillStatusLabel::FillStatusLabel(const FillPass& pass, const BrowserSession& session, QWidget* parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("fillStatus"));
    setTextFormat(Qt::PlainText);
    connect(&pass, &FillPass::finished, this, [this, &session](const FillReport& report) {
        if (!m_summary.add(report))
            return;
        const std::optional<ProductFacts>& facts = session.product();
        setText(m_summary.text(session.productName(), facts ? facts->padTaken : QDateTime()));
    });
}
