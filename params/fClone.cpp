#include "params/fClone.h"

#include "sheetview/uSheet.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tessora {

TfrmClone::TfrmClone(int source, int count, QWidget* parent) : QDialog(parent) {
    setObjectName("frmClone");
    setWindowTitle("Clone");
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* v = new QVBoxLayout(this);
    lblClone = new QLabel(QString::asprintf("Clone Label %d to", source + 1), this);
    QFont bold = lblClone->font();
    bold.setBold(true);
    lblClone->setFont(bold);
    v->addWidget(lblClone);

    lstLabels = new QListWidget(this);
    lstLabels->setObjectName("lstLabels");
    for (int i = 0; i < count; ++i) {
        if (i == source) continue;
        auto* item = new QListWidgetItem(QString::asprintf("Label %d", i + 1), lstLabels);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        item->setSizeHint(QSize(0, 25));
    }
    v->addWidget(lstLabels, 1);

    auto* sel = new QHBoxLayout;
    btnSelAll = new QPushButton("Select All", this);
    btnSelAll->setToolTip(" Select All ");
    btnUnselAll = new QPushButton("Unselect All", this);
    btnUnselAll->setToolTip(" Unselect All ");
    sel->addWidget(btnSelAll);
    sel->addWidget(btnUnselAll);
    v->addLayout(sel);

    auto* ok = new QHBoxLayout;
    ok->addStretch();
    btnOK = new QPushButton("OK", this);
    btnOK->setDefault(true);
    btnCancel = new QPushButton("Cancel", this);
    ok->addWidget(btnOK);
    ok->addWidget(btnCancel);
    v->addLayout(ok);
    setFixedSize(220, 320);

    connect(btnSelAll, &QPushButton::clicked, this, [this] { SetAll(true); });
    connect(btnUnselAll, &QPushButton::clicked, this, [this] { SetAll(false); });
    connect(lstLabels, &QListWidget::itemChanged, this, [this] { lstLabelsChange(); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmClone::SetAll(bool checked) {
    {
        const QSignalBlocker block(lstLabels);
        for (int i = 0; i < lstLabels->count(); ++i)
            lstLabels->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    btnOK->setEnabled(checked);
}

void TfrmClone::lstLabelsChange() {
    bool any = false;
    for (int i = 0; i < lstLabels->count() && !any; ++i)
        any = lstLabels->item(i)->checkState() == Qt::Checked;
    btnOK->setEnabled(any);
}

std::vector<int> TfrmClone::Targets() const {
    std::vector<int> out;
    for (int i = 0; i < lstLabels->count(); ++i) {
        const QListWidgetItem* item = lstLabels->item(i);
        if (item->checkState() != Qt::Checked) continue;
        bool ok = false;
        const int n = item->text().mid(6).toInt(&ok);
        if (ok) out.push_back(n - 1);
    }
    return out;
}

void CloneLabelOnto(TSheet& sheet, int source, std::vector<int> targets) {
    const int count = int(sheet.Labels.size());
    if (source < 0 || source >= count) return;
    std::sort(targets.begin(), targets.end());
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
    for (int t : targets) {
        if (t < 0 || t >= count || t == source) continue;
        sheet.Label(t).CopyFrom(sheet.Label(source));
        sheet.DrawLabel(t, -1, true);
    }
}

} // namespace tessora
