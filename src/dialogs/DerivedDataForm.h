#pragma once

#include "datafiles/LexisTable.h"
#include "document/NewMap.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The choices of a derivation, shared by File New Derived Map and Edit
// Derived Data: the operation, the second matrix (a file, or a column of a
// database table), the lag and the half-width. A field is enabled only
// where the operation reads it.
class DerivedDataForm : public QWidget {
    Q_OBJECT
public:
    // withNone: the operations start with "None", the data as they are.
    DerivedDataForm(bool withNone, QWidget* parent);

    // Fills the fields; none selects "None" (or the first operation).
    void SetChoice(const std::optional<DerivationChoice>& choice);
    // The operation chosen; none for "None".
    std::optional<DeriveOperation> Operation() const;
    DerivationChoice Choice() const;
    // The head of the first matrix when it is a database table: its
    // columns are offered for B when no second file is named.
    void SetFirstTable(const std::optional<LexisTableHeader>& table);

    QComboBox* operation;
    QLineEdit* secondFile;
    QPushButton* browseSecond;
    QComboBox* secondColumn;
    QSpinBox* lag;
    QSpinBox* halfWidth;

signals:
    void OperationChanged();

private:
    void EnableFields();
    // The columns of B's table: the second file's, else the first matrix's.
    void FillColumns();

    bool withNone_;
    std::optional<LexisTableHeader> firstTable_;
    QString columnsOf_;
};
