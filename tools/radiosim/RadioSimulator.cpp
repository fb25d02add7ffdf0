#include "RadioSimulator.h"

namespace vq::sim {

RadioSimulator::RadioSimulator(const Options &options, QObject *parent)
    : QObject(parent), sender_(line_, options.paced), protocol_(options, sender_)
{
    clock_.start();
    error_ = protocol_.prepare();
    if (!error_.isEmpty())
        return;
    if (!line_.open() || (!options.linkPath.isEmpty() && !line_.createLink(options.linkPath))) {
        error_ = line_.errorString();
        line_.close();
        return;
    }
    connect(&line_, &PseudoTerminal::readyRead, this, &RadioSimulator::onReadyRead);
    connect(&line_, &PseudoTerminal::hungUp, this, &RadioSimulator::hungUp);
    connect(&sender_, &PacedSender::failed, this, [this](const QString &message) {
        emit problem(message);
        hangUp();
    });
    connect(&protocol_, &RadioProtocol::commandReceived, this, &RadioSimulator::commandReceived);
    connect(&protocol_, &RadioProtocol::writeStored, this, &RadioSimulator::writeStored);
    connect(&protocol_, &RadioProtocol::writeAbandoned, this, &RadioSimulator::writeAbandoned);
    connect(&protocol_, &RadioProtocol::readServed, this, &RadioSimulator::readServed);
    connect(&protocol_, &RadioProtocol::problem, this, &RadioSimulator::problem);
    connect(&protocol_, &RadioProtocol::hangUpWanted, this, &RadioSimulator::hangUp);
    line_.listen();
}

void RadioSimulator::clearReceived()
{
    received_.clear();
    receiveTimes_.clear();
}

void RadioSimulator::hangUp()
{
    if (!line_.isUp())
        return;
    sender_.clear();
    protocol_.stop();
    line_.hangUp();
}

void RadioSimulator::onReadyRead()
{
    const QByteArray chunk = line_.readAll();
    if (chunk.isEmpty())
        return;
    received_ += chunk;
    receiveTimes_.insert(receiveTimes_.size(), chunk.size(), clock_.nsecsElapsed());
    emit received(chunk);
    for (char c : chunk)
        protocol_.consume(c);
}

} // namespace vq::sim
