#include "Engine/App/App/appApplication.h"

appApplication::appApplication() : m_window(std::make_unique<appWindow>()) {}

appApplication::~appApplication() = default;

void appApplication::Run() {
    m_window->Run(*this);
}

void appApplication::RequestQuit() {
    m_window->RequestQuit();
}

void appApplication::SetTitle(const envString& title) {
    m_window->SetTitle(title);
}

void appApplication::PumpMessages() {
    appPumpMessages();
}
