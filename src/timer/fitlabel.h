#pragma once

#include <QLabel>

class QFont;

// A centred label whose font grows to the largest point size at which its text (with every
// digit measured as "8", so the size holds while the digits change) fits the label.
class FitLabel : public QLabel
{
    Q_OBJECT

public:
    explicit FitLabel(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    double fittedSize() const { return m_fittedSize; }
    int reservedMargin() const { return m_reservedMargin; }
    bool digitsOnly() const { return m_digitsOnly; }

    // Chooses the point size again for the current text and size.
    void fitFont();

    // The application font in bold at `pointSize`, the font everything is measured with.
    static QFont measuringFont(double pointSize);
    // Height of `font` as this label measures it: the tight height of "8" or the line height.
    double textHeight(const QFont &font) const;
    // Whether `text` fits the label at `pointSize`; digits are measured as "8".
    bool fitsAt(const QString &text, double pointSize) const;

protected:
    FitLabel(int reservedMargin, bool digitsOnly, QWidget *parent);

    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Fits once the events of the moment are through.
    void fitLater();
    // The space the text may take: the label less its padding and reserved margins.
    QSizeF textSpace() const;

    int m_reservedMargin = 0;
    bool m_digitsOnly = false;
    double m_fittedSize = 0.0;
    bool m_fitPending = false;
    bool m_fitQueued = false;
    bool m_painted = false;
};
