#pragma once

#include <QString>

#include <functional>

class QWidget;

// What a save asks the user for.
struct SaveRequest {
    QString caption;
    QString fileName;  // suggested, without folder
    QString filter;
};

// Asks where to save and writes, or which file to open. The data in hand is captured before the
// dialog opens, so the animation going on behind it does not change it. An
// existing file is replaced only when the user says so; a failed write is
// explained and another name offered, so nothing is dropped without the
// user knowing.
class Exporter {
public:
    // Writes to a path; empty on success, else why in French.
    using Writer = std::function<QString(const QString& path)>;
    // The file dialog; an empty answer cancels.
    using AskPath = std::function<QString(const SaveRequest& request, const QString& suggestedPath)>;
    // Whether an existing file may be replaced.
    using ConfirmReplace = std::function<bool(const QString& path)>;
    // Shows a failure; true to try another name.
    using OfferRetry = std::function<bool(const QString& message)>;

    explicit Exporter(QWidget* parent);

    // The path written, or empty when the user gave up.
    QString save(const SaveRequest& request, const Writer& write);
    // The file the user chose to open, from the folder last used; empty
    // when he gave up.
    QString askOpen(const SaveRequest& request);
    // Tells the user why there is nothing to save.
    void nothingToSave(const QString& message);

    void setAskPath(AskPath ask) { m_askPath = std::move(ask); }
    void setAskOpenPath(AskPath ask) { m_askOpenPath = std::move(ask); }
    void setConfirmReplace(ConfirmReplace confirm) { m_confirmReplace = std::move(confirm); }
    void setOfferRetry(OfferRetry offer) { m_offerRetry = std::move(offer); }
    void setInform(std::function<void(const QString&)> inform) { m_inform = std::move(inform); }

private:
    QWidget* m_parent;
    QString m_folder;  // the last folder saved into or opened from, for this session only
    AskPath m_askPath;
    AskPath m_askOpenPath;
    ConfirmReplace m_confirmReplace;
    OfferRetry m_offerRetry;
    std::function<void(const QString&)> m_inform;
};
