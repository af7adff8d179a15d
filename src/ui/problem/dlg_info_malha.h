#pragma once

#include <QDialog>
#include <QString>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// "Informações sobre a Malha Atual": each label of the mesh statistics with its formatted value.
class CDlgInfoMalha : public QDialog {
    Q_OBJECT
public:
    explicit CDlgInfoMalha(const std::vector<std::pair<std::string_view, std::string>>& textos,
        QWidget* parent = nullptr);

    /// The value shown beside `rotulo`; empty when there is no such label.
    QString valor(const QString& rotulo) const;

private:
    std::vector<std::pair<QString, QString>> m_linhas;
};
