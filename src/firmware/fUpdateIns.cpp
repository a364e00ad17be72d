#include "firmware/fUpdateIns.h"

TformUpdateIns::TformUpdateIns(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("formUpdateIns"));
    setWindowTitle(QStringLiteral("Перепрошивка панели"));
}

bool TformUpdateIns::PanelIsOlder(int panelMajor, int panelMinor) const {
    if (m_memRes.isEmpty() || m_imageMajor < 0 || m_imageMinor < 0)
        return false;
    return panelMajor < m_imageMajor || (panelMajor == m_imageMajor && panelMinor < m_imageMinor);
}

void TformUpdateIns::OfferUpdate(int panelMajor, int panelMinor) {
    if (PanelIsOlder(panelMajor, panelMinor))
        show();
}
