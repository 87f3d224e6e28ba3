#include "qt/file_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include "qt/conversions.h"
#include "qt/focus_return.h"
#include "qt/message_box.h"

namespace qcqt {

namespace {

QString qtpatterns(const QString& patterns)
{
    QStringList out;
    for (const QString& p : patterns.split(';', Qt::SkipEmptyParts)) {
        const QString t = p.trimmed();
        out << (t == QStringLiteral("*.*") ? QStringLiteral("*") : t);
    }
    return out.join(' ');
}

// While a dialog runs, every message box it shows is made wide enough for
// its caption.
class CaptionRoom : public QObject {
public:
    explicit CaptionRoom(QWidget* dialog) : dialog_(dialog) { qApp->installEventFilter(this); }
    ~CaptionRoom() override { qApp->removeEventFilter(this); }
    CaptionRoom(const CaptionRoom&) = delete;
    CaptionRoom& operator=(const CaptionRoom&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(watched); box && box->parentWidget() == dialog_)
                widenforcaption(box);
        return false;
    }

private:
    QWidget* dialog_;
};

}  // namespace

QString qtfilter(const std::string& filter)
{
    const QStringList parts = toqt(filter).split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + qtpatterns(parts[i + 1]) + QStringLiteral(")");
    return out.join(QStringLiteral(";;"));
}

bool QtDialogRunner::execute(ui::FileDialog& d)
{
    const FocusReturn back(owner_);
    QFileDialog dialog(owner_, displaytext(d.title), toqt(d.initialdir));
    dialog.setWindowModality(Qt::ApplicationModal);
    // The question Qt's own dialog asks before replacing a file is titled
    // with the dialog's caption: it gets room for it.
    CaptionRoom room(&dialog);
    dialog.setAcceptMode(d.saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // An open dialog accepts a name that does not exist: the load reports it.
    dialog.setFileMode(d.folder ? QFileDialog::Directory : QFileDialog::AnyFile);
    if (d.folder)
        dialog.setOption(QFileDialog::ShowDirsOnly);
    if (d.saving && !d.overwriteprompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QString filter = qtfilter(d.filter);
    if (!filter.isEmpty())
        dialog.setNameFilter(filter);
    if (!d.filename.empty())
        dialog.selectFile(toqt(d.filename));
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        const QFileInfo chosen(dialog.selectedFiles().first());
        if (d.pathmustexist && !chosen.absoluteDir().exists()) {
            QMessageBox::warning(&dialog, displaytext(d.title),
                                 chosen.absolutePath() + QStringLiteral("\nPath does not exist."));
            continue;
        }
        d.filename = fromqt(chosen.absoluteFilePath());
        return true;
    }
}

}  // namespace qcqt
