#include "AboutDialog.h"

#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "ProgramVersion.h"

namespace qv {

namespace {

// Where the program's own pages live: its manual and its example project.
constexpr const char* kManualUrl = "https://quorvel.org/anleitung";
constexpr const char* kExamplesUrl = "https://quorvel.org/beispiele";

QLabel* Link(const QString& url, const QString& text, QWidget* parent) {
  auto* l =
      new QLabel(QStringLiteral("<a href=\"%1\">%2</a>").arg(url, text.toHtmlEscaped()), parent);
  l->setTextFormat(Qt::RichText);
  l->setOpenExternalLinks(true);
  l->setAlignment(Qt::AlignCenter);
  return l;
}

}  // namespace

QString ProgramVersionText() {
  return QString::fromStdString(GetProgramVersion());
}

void ShowAboutDialog(QWidget* parent) {
  QDialog dlg(parent);
  dlg.setObjectName(QStringLiteral("AboutBox"));
  dlg.setWindowTitle(QStringLiteral("Info"));
  auto* layout = new QVBoxLayout(&dlg);
  auto* icon = new QLabel(&dlg);
  icon->setPixmap(QPixmap(QStringLiteral(":/icons/128/quorvel.png")));
  icon->setAlignment(Qt::AlignCenter);
  layout->addWidget(icon);
  auto* name = new QLabel(QStringLiteral("Quorvel"), &dlg);
  QFont big = name->font();
  big.setPointSize(big.pointSize() * 2);
  big.setBold(true);
  name->setFont(big);
  name->setAlignment(Qt::AlignCenter);
  layout->addWidget(name);
  auto* version = new QLabel(QStringLiteral("Version ") + ProgramVersionText(), &dlg);
  version->setAlignment(Qt::AlignCenter);
  layout->addWidget(version);
  auto* year =
      new QLabel(QStringLiteral("© %1 Quorvel-Projekt").arg(QDate::currentDate().year()), &dlg);
  year->setAlignment(Qt::AlignCenter);
  layout->addWidget(year);
  layout->addWidget(Link(QString::fromLatin1(kManualUrl), QStringLiteral("Anleitung"), &dlg));
  layout->addWidget(Link(QString::fromLatin1(kExamplesUrl), QStringLiteral("Beispiele"), &dlg));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dlg);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  layout->addWidget(buttons);
  dlg.exec();
}

}  // namespace qv
