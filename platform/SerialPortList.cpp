#include "platform/SerialPortList.h"

SerialPortList::~SerialPortList() = default;
