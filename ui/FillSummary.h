#pragma once

#include "autofill/FillPlan.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>
#include <optional>

// One line for the status bar on what the fill passes did to the page shown: the pass over the
// whole page starts it anew, and passes over a frame's new document or fields that appeared later
// add to it.
class FillSummary final {
    Q_DECLARE_TR_FUNCTIONS(FillSummary)

public:
    // Takes in one pass's report; false when the line stays as it was (a pass that was superseded
    // reports nothing of the page).
    bool add(const FillReport& report);

    // The line, with `productName` as the product the values came from and `padTaken` the day its
    // kept PAD file was taken (invalid when it keeps none); empty before any pass.
    QString text(const QString& productName, const QDateTime& padTaken = {}) const;

private:
    // Why a field did not take the value written, in words; empty for fields that take no text at
    // all.
    static QString reason(const FillReport::Refusal& refusal);

    std::optional<FillReport::Status> m_status;
    qsizetype m_written = 0;
    qsizetype m_lists = 0;
    QStringList m_kept;     // fields that held a value of the page's own
    QStringList m_notTaken; // "name (reason)": fields that did not take the value written
};
