#include "aboutwindow.h"

#include <QKeyEvent>
#include <QLabel>

#include "app/pubfunction.h"
#include "platform/shell.h"
#include "platform/windowplacement.h"
#include "skin/dynamicimagebutton.h"
#include "skin/formlayout.h"
#include "skin/image.h"
#include "skin/windowaccess.h"
#include "skin/windowdragger.h"

TAboutWindow* AboutWindow = nullptr;

namespace {

// What assistive technology calls the window's buttons; its labels speak their own texts.
constexpr TControlName kControlNames[] = {
    {"TB_Home", "Home page"}, {"TB_Contact", "Contact us"}, {"TB_Close", "Close"}};

}  // namespace

TAboutWindow::TAboutWindow(QWidget* owner) : QWidget(owner, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("AboutWindow"));
    setWindowTitle(QStringLiteral("About Dero Video Converter"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(formlayout::about::kWindow);
    setWindowModality(Qt::ApplicationModal);
    CenterOnScreen(this);
    CreateLabels();
    FormCreate();
}

TAboutWindow::~TAboutWindow() = default;

void TAboutWindow::CreateLabels() {
    QFont titleFont(QStringLiteral("Tahoma"), 15, QFont::Bold);
    const QString title = QString::fromLatin1(kTitle);
    // Made first, so the dark title lies above its shadow.
    Label1 = MakeLabel(title, formlayout::about::kTitleShadow, titleFont, QColor(0xC0, 0xC0, 0xC0));
    Label5 = MakeLabel(title, formlayout::about::kTitle, titleFont,
                       palette().color(QPalette::WindowText));
    Label2 = MakeLabel(g_s_Version, formlayout::about::kVersion, font(),
                       palette().color(QPalette::WindowText));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label5->setObjectName(QStringLiteral("Label5"));
    Label2->setObjectName(QStringLiteral("Label2"));
}

QLabel* TAboutWindow::MakeLabel(const QString& text, const QRect& bounds, const QFont& font,
                                const QColor& colour) {
    auto* label = new QLabel(text, this);
    label->setGeometry(bounds);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    // The form's labels size themselves to their text: a font a little wider than the one the
    // bounds were drawn for must not cut the version off.
    label->adjustSize();
    // Transparent: the skin's background shows through.
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void TAboutWindow::FormCreate() {
    Img_Background = new TImage(this);
    Img_Background->setObjectName(QStringLiteral("Img_Background"));
    Img_Background->move(0, 0);
    Img_Background->setEnabled(false);
    Img_Background->lower();
    TB_Home = MakeButton("TB_Home");
    TB_Contact = MakeButton("TB_Contact");
    TB_Close = MakeButton("TB_Close");
    connect(TB_Home, &TImageButton::Click, this, [] { OpenHomePage(); });
    connect(TB_Contact, &TImageButton::Click, this,
            [] { ShellOpen(QStringLiteral("mailto:") + QLatin1String(kSupportMail)); });
    connect(TB_Close, &TImageButton::Click, this, &QWidget::close);
    new TWindowDragger(this);
    NameControls(*this, kControlNames);
    ChainTabOrder({TB_Home, TB_Contact, TB_Close});
}

void TAboutWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

TDynamicImageButton* TAboutWindow::MakeButton(const char* name) {
    auto* button = new TDynamicImageButton(this);
    button->setObjectName(QLatin1String(name));
    return button;
}

std::vector<TSkinComponent> TAboutWindow::SkinComponents() {
    return {SkinComponent(Img_Background), SkinComponent(TB_Home), SkinComponent(TB_Contact),
            SkinComponent(TB_Close)};
}

void TAboutWindow::ShowModal() {
    // The version text is set after the skins load, which may be after this window was made.
    Label2->setText(g_s_Version);
    Label2->adjustSize();
    show();
    raise();
    activateWindow();
}
