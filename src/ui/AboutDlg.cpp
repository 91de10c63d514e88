#include "ui/AboutDlg.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRect>

#include "ui/Resources.h"

namespace {

// The dialog is laid out in dialog units, which scale with the font: a
// horizontal unit is a quarter of the average character width, a vertical
// unit an eighth of the character height. So the texts fit whatever font the
// desktop uses.
class CDialogUnits {
  public:
    explicit CDialogUnits(const QFontMetrics& metrics)
        : m_baseX((metrics.horizontalAdvance(
                       QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                       26 +
                   1) /
                  2),
          m_baseY(metrics.height()) {}

    QRect Map(int x, int y, int width, int height) const {
        return {X(x), Y(y), X(x + width) - X(x), Y(y + height) - Y(y)};
    }

  private:
    int X(int units) const { return units * m_baseX / 4; }
    int Y(int units) const { return units * m_baseY / 8; }

    int m_baseX;
    int m_baseY;
};

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("Info über Veltrano"));
    setModal(true);
    // A fixed little box: a title and a close button, nothing to resize.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    const CDialogUnits units(fontMetrics());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(VeltranoIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    icon->setGeometry(units.Map(11, 17, 20, 20));

    auto* version = new QLabel(QStringLiteral("Veltrano Version " VELTRANO_VERSION), this);
    version->setObjectName(QStringLiteral("aboutVersion"));
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(units.Map(40, 10, 119, 8));

    auto* purpose = new QLabel(QStringLiteral("Erfindet Namen aus Silben"), this);
    purpose->setObjectName(QStringLiteral("aboutPurpose"));
    purpose->setTextFormat(Qt::PlainText);
    purpose->setGeometry(units.Map(40, 24, 119, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("aboutOk"));
    ok->setDefault(true);
    ok->setGeometry(units.Map(178, 7, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* use = new QLabel(QStringLiteral("Für Rollenspiel und Geschichten"), this);
    use->setObjectName(QStringLiteral("aboutUse"));
    use->setTextFormat(Qt::PlainText);
    use->setGeometry(units.Map(40, 38, 137, 8));

    setFixedSize(units.Map(0, 0, 235, 55).size());
}
