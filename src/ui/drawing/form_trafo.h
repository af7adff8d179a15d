#pragma once

#include "geometry/arrangements.h"

#include <QWidget>

#include <vector>

QT_BEGIN_NAMESPACE
class QLineEdit;
class QPushButton;
QT_END_NAMESPACE

class CDesDoc;
class CDesView;
class Prompter;

/**
 * The dimension form of a typical arrangement, beside its picture in the split drawing frame:
 * one edit box per dimension ("a (mm) :"...), "Atualizar Vista", which replaces the drawing by
 * the arrangement, and the buttons that hand the drawing to the frame's export and save commands.
 */
class CFormTrafo : public QWidget {
    Q_OBJECT
public:
    /// The command ids of "Exportar ", "Gravar" and "Gravar Como ..." (the same in every form).
    static constexpr int IdExportar = 1155;
    static constexpr int IdGravar = 1156;
    static constexpr int IdGravarComo = 1157;

    /// The form of arrangement `tipoArranjo` (0 to 3), or null for any other number.
    static CFormTrafo* criar(int tipoArranjo, CDesDoc& doc, CDesView& view, Prompter& prompter,
        QWidget* parent = nullptr);

    /// Arrangement 1 to 4.
    int tipo() const { return m_tipo; }
    /// The dialog resource and the "Atualizar Vista" command id of the form.
    virtual int idFormulario() const = 0;
    virtual int idAtualizar() const = 0;

    /// The edit box of dimension `letra`, or null.
    QLineEdit* campo(std::string_view letra) const;
    QPushButton* botaoAtualizar() const { return m_atualizar; }
    QPushButton* botaoExportar() const { return m_exportar; }
    QPushButton* botaoGravar() const { return m_gravar; }
    QPushButton* botaoGravarComo() const { return m_gravarComo; }

public slots:
    /// "Atualizar Vista": reads and validates the fields; on a refusal shows the message and
    /// changes nothing; otherwise replaces the drawing, clears the view's selection and marks and
    /// zooms the view to the extents. True when the drawing was replaced.
    bool atualizarVista();

signals:
    void exportarPedido();
    void gravarPedido();
    void gravarComoPedido();

protected:
    CFormTrafo(int tipo, CDesDoc& doc, CDesView& view, Prompter& prompter, QWidget* parent);

private:
    int m_tipo;
    CDesDoc& m_doc;
    CDesView& m_view;
    Prompter& m_prompter;
    std::vector<std::string_view> m_letras;
    std::vector<QLineEdit*> m_campos;
    QPushButton* m_atualizar = nullptr;
    QPushButton* m_exportar = nullptr;
    QPushButton* m_gravar = nullptr;
    QPushButton* m_gravarComo = nullptr;
};

/// Arrangement 1: a, b, c, d, r.
class CFormTrafo01 : public CFormTrafo {
    Q_OBJECT
public:
    CFormTrafo01(CDesDoc& doc, CDesView& view, Prompter& prompter, QWidget* parent = nullptr)
        : CFormTrafo(1, doc, view, prompter, parent)
    {
    }
    int idFormulario() const override { return 101; }
    int idAtualizar() const override { return 1154; }
};

/// Arrangement 2: a to f, r1, r2, h.
class CFormTrafo02 : public CFormTrafo {
    Q_OBJECT
public:
    CFormTrafo02(CDesDoc& doc, CDesView& view, Prompter& prompter, QWidget* parent = nullptr)
        : CFormTrafo(2, doc, view, prompter, parent)
    {
    }
    int idFormulario() const override { return 189; }
    int idAtualizar() const override { return 1164; }
};

/// Arrangement 3: a to f, r1, r2.
class CFormTrafo03 : public CFormTrafo {
    Q_OBJECT
public:
    CFormTrafo03(CDesDoc& doc, CDesView& view, Prompter& prompter, QWidget* parent = nullptr)
        : CFormTrafo(3, doc, view, prompter, parent)
    {
    }
    int idFormulario() const override { return 190; }
    int idAtualizar() const override { return 1165; }
};

/// Arrangement 4: a to j, r1, r2.
class CFormTrafo04 : public CFormTrafo {
    Q_OBJECT
public:
    CFormTrafo04(CDesDoc& doc, CDesView& view, Prompter& prompter, QWidget* parent = nullptr)
        : CFormTrafo(4, doc, view, prompter, parent)
    {
    }
    int idFormulario() const override { return 191; }
    int idAtualizar() const override { return 1175; }
};
