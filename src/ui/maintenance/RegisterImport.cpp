#include "RegisterImport.h"

#include "core/db/Gateway.h"
#include "core/maintenance/ImportFile.h"
#include "core/register/RegisterFile.h"
#include "core/register/RegisterWrite.h"
#include "ui/screen/FormContext.h"
#include "ui/widgets/FrameFollower.h"
#include "ui/widgets/LongWork.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>

namespace {

// The progress runs to a thousand: the first tenth for reading the file, the rest for writing
// the rows, which is most of the time.
constexpr int progressMaximum = 1000;
constexpr int readingShare = 100;

QString nothingImported() {
    return QStringLiteral("Nothing was imported.");
}

QString notTheList(const QString& fileName, const QString& why) {
    return fileName + QStringLiteral(" is not the FDA's list of drug products: ") + why;
}

} // namespace

RegisterImport::RegisterImport(FormContext& form)
    : m_form(form) {}

void RegisterImport::install(QWidget* tabAfter) {
    QGroupBox* frame = m_form.c.fraMaint;
    m_button = new QPushButton(QStringLiteral("Import drug register..."), frame->parentWidget());
    m_button->setObjectName(QStringLiteral("cmdImportRegister"));
    // Above the revenue frame, which lies under the maintenance frame at the design size.
    m_button->raise();
    QWidget::setTabOrder(tabAfter, m_button);
    new FrameFollower(frame, m_button, rightOfFrameLeft, belowFrame, buttonWidth, buttonHeight);
    connect(m_button, &QPushButton::clicked, this, [this] { cmdImportRegister_Click(); });
}

void RegisterImport::cmdImportRegister_Click() {
    if (m_running)
        return;
    RunningFlag running(m_running);
    const QString path = m_form.prompter.openFileName(
        QStringLiteral("Import drug register"), QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (!path.isEmpty())
        ImportRegister(path);
}

void RegisterImport::ImportRegister(const QString& path) {
    QByteArray bytes;
    if (const QString failure = importfile::readWhole(path, bytes); !failure.isEmpty()) {
        m_form.prompter.message(failure);
        return;
    }
    // The progress is gone and the transaction ended before the message shows.
    const Result result = importBytes(bytes, QFileInfo(path).fileName());
    if (result.imported)
        m_form.screen.drugRegisterImported();
    m_form.prompter.message(result.message);
}

RegisterImport::Result RegisterImport::importBytes(const QByteArray& bytes,
                                                   const QString& fileName) {
    const std::unique_ptr<Progress> progress = m_form.prompter.progress(
        QStringLiteral("Import drug register"),
        QStringLiteral("Importing ") + fileName + QStringLiteral("..."), progressMaximum);
    const drugregister::Register read =
        drugregister::readRegister(bytes, [&](qint64 done, qint64 total) {
            return progress->step(int(done * readingShare / qMax<qint64>(total, 1)));
        });
    using Outcome = drugregister::Register::Outcome;
    switch (read.outcome) {
    case Outcome::NotText:
        return {notTheList(fileName,
                           QStringLiteral("it is not a text file (export the list as CSV)."))};
    case Outcome::MissingColumns:
        return {notTheList(fileName, QStringLiteral("it has no column ") +
                                         read.missingColumns.join(QStringLiteral(", ")) + u'.')};
    case Outcome::Cancelled:
        return {nothingImported()};
    case Outcome::Read:
        break;
    }
    if (read.products.isEmpty())
        return {fileName + QStringLiteral(" lists no drug products. ") + nothingImported()};
    try {
        const qsizetype total = read.products.size();
        const bool written =
            drugregister::replaceRegister(m_form.db(), read.products, [&](qsizetype done) {
                return progress->step(readingShare +
                                      int(done * (progressMaximum - readingShare) / total));
            });
        if (!written)
            return {nothingImported()};
    } catch (const DbError& e) {
        return {e.description()};
    }
    return {QStringLiteral("%1 products, %2 brand names imported.")
                .arg(read.products.size())
                .arg(read.brandNames),
            true};
}
