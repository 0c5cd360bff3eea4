#include "updatedialog.h"

#include "blinklabel.h"
#include "flatstyle.h"
#include "richtext.h"
#include "updatehelper.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace Common {

namespace {

// Server text shown here is bounded, so that no reply keeps the GUI busy
// laying it out: values in labels, and the changelog and debug views.
constexpr int labelChars = 256;
constexpr int viewChars = 16 * 1024;

// A document that loads no resource at all: HTML from the server may name
// images or style sheets, remote or local, and none of them is fetched.
class InertDocument : public QTextDocument
{
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int, const QUrl &) override { return QVariant(); }
};

QTextEdit *readOnlyView(QWidget *parent, bool fixedPitch)
{
    auto *view = new QTextEdit(parent);
    view->setReadOnly(true);
    view->setFrameShape(QFrame::NoFrame);
    if (fixedPitch) {
        QFont font(QStringLiteral("Courier"));
        font.setFixedPitch(true);
        view->setFont(font);
    }
    return view;
}

QLabel *hiddenLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->hide();
    return label;
}

QLabel *linkLabel(QWidget *parent)
{
    QLabel *label = hiddenLabel(QString(), parent);
    label->setTextFormat(Qt::RichText);
    label->setOpenExternalLinks(true);
    return label;
}

} // namespace

UpdateDialog::UpdateDialog(UpdateHelper *client, const QString &links, const QString &title, QWidget *parent,
                           Qt::WindowFlags flags)
    : QDialog(parent, flags)
    , m_client(client)
    , m_links(links)
{
    if (!m_client)
        qFatal("zero pointer: Common::UpdateHelper");
    setMinimumSize(400, 350);
    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
    setWindowTitle(title.isEmpty() ? tr("Download server") : title);
    if (flags == Qt::WindowFlags())
        setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    createWidgets();
    layoutWidgets();

    updateStatus(m_client->statusText());
    if (m_client->isDone()) {
        updateResult();
        if (m_client->isDebug())
            updateResponse(m_client->receivedText());
        return;
    }
    // client -> dialog
    connect(m_client, &UpdateHelper::done, this, &UpdateDialog::updateResult);
    connect(m_client, &UpdateHelper::status, this, &UpdateDialog::updateStatus);
    if (m_client->isDebug())
        connect(m_client, &UpdateHelper::response, this, &UpdateDialog::updateResponse);
}

void UpdateDialog::createWidgets()
{
    m_runningLabel = hiddenLabel(tr("Running version:"), this);
    m_availableLabel = hiddenLabel(tr("Available version:"), this);
    m_downloadLabel = hiddenLabel(tr("Download update:"), this);
    m_sourceLabel = hiddenLabel(tr("Download source code:"), this);
    m_runningValue = hiddenLabel(QString(), this);
    m_availableValue = hiddenLabel(QString(), this);
    m_rule = hiddenLabel(QStringLiteral("<hr height='1'>"), this);
    m_binLink = linkLabel(this);
    m_binLink->setObjectName(QStringLiteral("downloadUpdateLink"));
    m_srcLink = linkLabel(this);
    m_srcLink->setObjectName(QStringLiteral("downloadSourceLink"));

    m_linksLabel = new QLabel(m_links, this);
    m_linksLabel->setTextFormat(Qt::RichText);
    m_linksLabel->setOpenExternalLinks(true);
    m_statusLabel = new LibTarnCommon::BlinkLabel(this);
    m_statusLabel->setTextFormat(Qt::RichText);

    m_stack = new QStackedWidget(this);
    m_linksPage = new QWidget(m_stack);
    m_downloadPage = new QWidget(m_stack);
    m_stack->addWidget(m_linksPage);
    m_stack->addWidget(m_downloadPage);
    m_stack->setCurrentWidget(m_downloadPage);

    m_tabs = new QTabWidget(this);
    m_statusPage = new QWidget(m_tabs);
    m_tabs->addTab(m_statusPage, tr("Update status"));
    if (m_client->isDebug()) {
        m_responseView = readOnlyView(m_tabs, false);
        m_responseView->setDocument(new InertDocument(m_responseView));
        m_sourceView = readOnlyView(m_tabs, true);
        m_tabs->addTab(m_responseView, tr("Server response"));
        m_tabs->addTab(m_sourceView, tr("Debug source"));
    }

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    // Ok -> close
    connect(m_buttons, &QDialogButtonBox::accepted, this, &UpdateDialog::accept);
}

void UpdateDialog::layoutWidgets()
{
    auto *linksLayout = new QVBoxLayout(m_linksPage);
    linksLayout->setContentsMargins(0, 0, 0, 0);
    linksLayout->addWidget(m_linksLabel);

    auto *downloadLayout = new QGridLayout(m_downloadPage);
    downloadLayout->setContentsMargins(0, 0, 0, 0);
    downloadLayout->setColumnStretch(1, 2);
    downloadLayout->addWidget(m_downloadLabel, 0, 0);
    downloadLayout->addWidget(m_binLink, 0, 1);
    downloadLayout->addWidget(m_sourceLabel, 1, 0);
    downloadLayout->addWidget(m_srcLink, 1, 1);

    auto *statusBox = new QGroupBox(m_statusPage);
    auto *statusBoxLayout = new QVBoxLayout(statusBox);
    statusBoxLayout->setContentsMargins(20, 20, 20, 20);
    statusBoxLayout->addWidget(m_statusLabel);

    auto *grid = new QGridLayout;
    grid->setContentsMargins(20, 20, 20, 20);
    grid->addWidget(m_runningLabel, 1, 0);
    grid->addWidget(m_runningValue, 1, 1);
    grid->addWidget(m_availableLabel, 2, 0);
    grid->addWidget(m_availableValue, 2, 1);
    grid->addWidget(m_rule, 3, 0, 1, 2);
    grid->addWidget(m_stack, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto *pageLayout = new QVBoxLayout(m_statusPage);
    pageLayout->addWidget(statusBox);
    pageLayout->addLayout(grid);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
}

void UpdateDialog::updateStatus(const QString &text)
{
    m_statusLabel->setText(QStringLiteral("<i>%1</i>").arg(text));
}

void UpdateDialog::updateResponse(const QString &text)
{
    if (!m_responseView)
        return;
    const QString shown = boundedText(text, viewChars);
    m_responseView->setHtml(shown);
    m_sourceView->setPlainText(shown);
}

void UpdateDialog::updateResult()
{
    m_statusLabel->stopBlinking();

    const QString changelog = m_client->changelog();
    if (!changelog.isEmpty()) {
        QTextEdit *view = readOnlyView(m_tabs, true);
        view->setPlainText(boundedText(changelog, viewChars));
        m_tabs->insertTab(1, view, tr("CHANGELOG"));
    }
    if (!m_client->version().isEmpty()) {
        m_runningValue->setText(escapeHtml(boundedText(m_client->version(), labelChars)));
        m_runningLabel->show();
        m_runningValue->show();
        m_rule->show();
    }
    const QString available = m_client->newVersion();
    if (!available.isEmpty()) {
        m_availableValue->setText(escapeHtml(boundedText(available, labelChars)));
        m_availableLabel->show();
        m_availableValue->show();
        m_rule->show();
    }
    const QString binLink = linkLabelText(m_client->urlBin(), boundedText(m_client->fileBin(), labelChars));
    if (!binLink.isEmpty()) {
        m_binLink->setText(binLink);
        m_downloadLabel->show();
        m_binLink->show();
    }
    const QString srcLink = linkLabelText(m_client->urlSrc(), boundedText(m_client->fileSrc(), labelChars));
    if (!srcLink.isEmpty()) {
        m_srcLink->setText(srcLink);
        m_sourceLabel->show();
        m_srcLink->show();
    }
    m_stack->setCurrentWidget(m_client->update() == QLatin1String("yes") ? m_downloadPage : m_linksPage);
    updateStatus(m_client->statusText());
}

ModernUpdateDialog::ModernUpdateDialog(UpdateHelper *client, const QString &links, const QString &title,
                                       QWidget *parent, Qt::WindowFlags flags)
    : UpdateDialog(client, links, title, parent, flags)
{
    setWindowFlags(flatDialogFlags);
    setObjectName(QStringLiteral("ModernUpdateDialog"));
    setStyleSheet(QStringLiteral("#ModernUpdateDialog { border: 1 solid rgba(0,0,0,255);"
                                 " background-color: rgba(255,255,255,255); }"
                                 "*[isScrollArea='false'], *[isLabel='false'] { background-color: rgba(255,255,255,255); }"
                                 "QTextEdit { background-color: rgba(255,255,255,255); }"
                                 "QDialogButtonBox { background-color: rgba(255,255,255,255); }")
                  + flatButtonRules());
}

} // namespace Common
