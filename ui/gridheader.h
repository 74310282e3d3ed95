#pragma once

#include <QHeaderView>

// A grid's title row whose captions are drawn narrower where the column is narrower than the
// caption, so that a caption shows every character, each one whole.
class GridHeader : public QHeaderView {
public:
    explicit GridHeader(QWidget *parent);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
};
