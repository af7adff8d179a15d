#include "graphs/dlg_ana_harmonica.h"

#include "common/core_texts.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using core_texts::texto;

CDlgAnaHarmonica::CDlgAnaHarmonica(
    const tarvex::graphs::GraphData& data, tarvex::graphs::HarmonicMode modo, QWidget* parent)
    : QDialog(parent)
{
    using namespace tarvex::graphs;
    setWindowTitle(texto(AnaliseHarmonicaTitulo));
    const HarmonicTables tabelas = harmonicTables(computeHarmonics(data, modo));

    // The tables line up their columns with blanks.
    const QFont fixa = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* grade = new QGridLayout;
    grade->addWidget(new QLabel(texto(TermosEmSeno), this), 0, 0, 1, 3);
    grade->addWidget(new QLabel(texto(TermosEmCosseno), this), 2, 0, 1, 3);
    for (std::size_t i = 0; i < m_campos.size(); ++i) {
        auto* campo = new QPlainTextEdit(this);
        campo->setReadOnly(true);
        campo->setFont(fixa);
        campo->setLineWrapMode(QPlainTextEdit::NoWrap);
        campo->setPlainText(QString::fromStdString(tabelas.texts[i]));
        campo->setMinimumSize(200, 200);
        const int linha = i < HarmonicCurves ? 1 : 3;
        grade->addWidget(campo, linha, int(i % HarmonicCurves));
        m_campos[i] = campo;
    }
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grade);
    layout->addWidget(botoes);
}
