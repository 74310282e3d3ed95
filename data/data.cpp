#include "data.h"

TDM *DM = nullptr;

TDM::TDM() : AQ1(ADC), AQ2(ADC), DS1(AQ1), DS2(AQ2), AQUP(ADC) {
    ADC.upgradeOlderLayoutOnConnect();
}

void CloseAllQueries() {
    DM->AQ1.close();
    DM->AQ2.close();
    DM->AQUP.close();
}
