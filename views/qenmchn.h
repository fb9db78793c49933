#pragma once

#include "views/qenmchnlayout.h"

#include <QColor>
#include <QString>
#include <QWidget>

// The compartment picture: seven containers (CKT, ALV, ART, VRG, MUS, FAT,
// VEN) filled to the agent's partial pressure, joined by the breathing circuit
// and by arterial and venous pipes, with a dotted MAC line in ALV and VRG and
// each compartment's name and value underneath. The panel view drives it
// through its properties; it reads nothing itself.
class QenMchn : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor QenColorCKT READ qenColorCKT WRITE setQenColorCKT)
    Q_PROPERTY(QColor QenColorALV READ qenColorALV WRITE setQenColorALV)
    Q_PROPERTY(QColor QenColorART READ qenColorART WRITE setQenColorART)
    Q_PROPERTY(QColor QenColorVRG READ qenColorVRG WRITE setQenColorVRG)
    Q_PROPERTY(QColor QenColorMUS READ qenColorMUS WRITE setQenColorMUS)
    Q_PROPERTY(QColor QenColorFAT READ qenColorFAT WRITE setQenColorFAT)
    Q_PROPERTY(QColor QenColorVEN READ qenColorVEN WRITE setQenColorVEN)
    Q_PROPERTY(QString QenLabelCKT READ qenLabelCKT WRITE setQenLabelCKT)
    Q_PROPERTY(QString QenLabelALV READ qenLabelALV WRITE setQenLabelALV)
    Q_PROPERTY(QString QenLabelART READ qenLabelART WRITE setQenLabelART)
    Q_PROPERTY(QString QenLabelVRG READ qenLabelVRG WRITE setQenLabelVRG)
    Q_PROPERTY(QString QenLabelMUS READ qenLabelMUS WRITE setQenLabelMUS)
    Q_PROPERTY(QString QenLabelFAT READ qenLabelFAT WRITE setQenLabelFAT)
    Q_PROPERTY(QString QenLabelVEN READ qenLabelVEN WRITE setQenLabelVEN)
    Q_PROPERTY(QString QenValueCKT READ qenValueCKT WRITE setQenValueCKT)
    Q_PROPERTY(QString QenValueALV READ qenValueALV WRITE setQenValueALV)
    Q_PROPERTY(QString QenValueART READ qenValueART WRITE setQenValueART)
    Q_PROPERTY(QString QenValueVRG READ qenValueVRG WRITE setQenValueVRG)
    Q_PROPERTY(QString QenValueMUS READ qenValueMUS WRITE setQenValueMUS)
    Q_PROPERTY(QString QenValueFAT READ qenValueFAT WRITE setQenValueFAT)
    Q_PROPERTY(QString QenValueVEN READ qenValueVEN WRITE setQenValueVEN)
    Q_PROPERTY(int CKT READ levelCKT WRITE setLevelCKT)
    Q_PROPERTY(int ALV READ levelALV WRITE setLevelALV)
    Q_PROPERTY(int ART READ levelART WRITE setLevelART)
    Q_PROPERTY(int VRG READ levelVRG WRITE setLevelVRG)
    Q_PROPERTY(int MUS READ levelMUS WRITE setLevelMUS)
    Q_PROPERTY(int FAT READ levelFAT WRITE setLevelFAT)
    Q_PROPERTY(int VEN READ levelVEN WRITE setLevelVEN)
    Q_PROPERTY(int MAC READ mac WRITE setMac)

public:
    explicit QenMchn(QWidget *parent = nullptr);

    QColor color(MchnPart part) const { return m_colors[size_t(part)]; }
    void setColor(MchnPart part, const QColor &color);
    QString label(MchnPart part) const { return m_labels[size_t(part)]; }
    void setLabel(MchnPart part, const QString &text);
    QString value(MchnPart part) const { return m_values[size_t(part)]; }
    void setValue(MchnPart part, const QString &text);
    // Percent of the container height, 0..100.
    int level(MchnPart part) const { return m_levels[size_t(part)]; }
    void setLevel(MchnPart part, int percent);
    int mac() const { return m_mac; }
    void setMac(int percent);

    // Hidden values free the text band for taller containers.
    bool valuesHidden() const { return m_valuesHidden; }
    void setValuesHidden(bool hidden);

    // The containers as last laid out (laid out again first when out of date).
    const MchnLayout &containerLayout();
    // The font of the names and values under the containers, grown with the picture.
    QFont textFont() const;
    // A point a quarter of the way into CKT, in global coordinates, for pop-ups.
    QPoint popupAnchor();

    QSize minimumSizeHint() const override { return QSize(310, 150); }

    QColor qenColorCKT() const { return color(MchnPart::CKT); }
    QColor qenColorALV() const { return color(MchnPart::ALV); }
    QColor qenColorART() const { return color(MchnPart::ART); }
    QColor qenColorVRG() const { return color(MchnPart::VRG); }
    QColor qenColorMUS() const { return color(MchnPart::MUS); }
    QColor qenColorFAT() const { return color(MchnPart::FAT); }
    QColor qenColorVEN() const { return color(MchnPart::VEN); }
    void setQenColorCKT(const QColor &c) { setColor(MchnPart::CKT, c); }
    void setQenColorALV(const QColor &c) { setColor(MchnPart::ALV, c); }
    void setQenColorART(const QColor &c) { setColor(MchnPart::ART, c); }
    void setQenColorVRG(const QColor &c) { setColor(MchnPart::VRG, c); }
    void setQenColorMUS(const QColor &c) { setColor(MchnPart::MUS, c); }
    void setQenColorFAT(const QColor &c) { setColor(MchnPart::FAT, c); }
    void setQenColorVEN(const QColor &c) { setColor(MchnPart::VEN, c); }

    QString qenLabelCKT() const { return label(MchnPart::CKT); }
    QString qenLabelALV() const { return label(MchnPart::ALV); }
    QString qenLabelART() const { return label(MchnPart::ART); }
    QString qenLabelVRG() const { return label(MchnPart::VRG); }
    QString qenLabelMUS() const { return label(MchnPart::MUS); }
    QString qenLabelFAT() const { return label(MchnPart::FAT); }
    QString qenLabelVEN() const { return label(MchnPart::VEN); }
    void setQenLabelCKT(const QString &s) { setLabel(MchnPart::CKT, s); }
    void setQenLabelALV(const QString &s) { setLabel(MchnPart::ALV, s); }
    void setQenLabelART(const QString &s) { setLabel(MchnPart::ART, s); }
    void setQenLabelVRG(const QString &s) { setLabel(MchnPart::VRG, s); }
    void setQenLabelMUS(const QString &s) { setLabel(MchnPart::MUS, s); }
    void setQenLabelFAT(const QString &s) { setLabel(MchnPart::FAT, s); }
    void setQenLabelVEN(const QString &s) { setLabel(MchnPart::VEN, s); }

    QString qenValueCKT() const { return value(MchnPart::CKT); }
    QString qenValueALV() const { return value(MchnPart::ALV); }
    QString qenValueART() const { return value(MchnPart::ART); }
    QString qenValueVRG() const { return value(MchnPart::VRG); }
    QString qenValueMUS() const { return value(MchnPart::MUS); }
    QString qenValueFAT() const { return value(MchnPart::FAT); }
    QString qenValueVEN() const { return value(MchnPart::VEN); }
    void setQenValueCKT(const QString &s) { setValue(MchnPart::CKT, s); }
    void setQenValueALV(const QString &s) { setValue(MchnPart::ALV, s); }
    void setQenValueART(const QString &s) { setValue(MchnPart::ART, s); }
    void setQenValueVRG(const QString &s) { setValue(MchnPart::VRG, s); }
    void setQenValueMUS(const QString &s) { setValue(MchnPart::MUS, s); }
    void setQenValueFAT(const QString &s) { setValue(MchnPart::FAT, s); }
    void setQenValueVEN(const QString &s) { setValue(MchnPart::VEN, s); }

    int levelCKT() const { return level(MchnPart::CKT); }
    int levelALV() const { return level(MchnPart::ALV); }
    int levelART() const { return level(MchnPart::ART); }
    int levelVRG() const { return level(MchnPart::VRG); }
    int levelMUS() const { return level(MchnPart::MUS); }
    int levelFAT() const { return level(MchnPart::FAT); }
    int levelVEN() const { return level(MchnPart::VEN); }
    void setLevelCKT(int v) { setLevel(MchnPart::CKT, v); }
    void setLevelALV(int v) { setLevel(MchnPart::ALV, v); }
    void setLevelART(int v) { setLevel(MchnPart::ART, v); }
    void setLevelVRG(int v) { setLevel(MchnPart::VRG, v); }
    void setLevelMUS(int v) { setLevel(MchnPart::MUS, v); }
    void setLevelFAT(int v) { setLevel(MchnPart::FAT, v); }
    void setLevelVEN(int v) { setLevel(MchnPart::VEN, v); }

signals:
    void Resized();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void layOutIfNeeded();

    std::array<QColor, MchnPartCount> m_colors;
    std::array<QString, MchnPartCount> m_labels;
    std::array<QString, MchnPartCount> m_values;
    std::array<int, MchnPartCount> m_levels{};
    int m_mac = 0;
    bool m_valuesHidden = false;
    QRect m_laidOutRect; // null forces a new layout
    MchnLayout m_layout;
};
