#pragma once

#include <QColor>
#include <QMap>
#include <QString>
#include <QVariant>
#include <QVariantList>

// Background colours of the event log by status class.
extern const QColor StatusColourOk;
extern const QColor StatusColourInfo;
extern const QColor StatusColourWarning;
extern const QColor StatusColourError;

struct StatusMessage {
    int code = 0;
    QString text; // with the placeholders "%1".."%3"
    QColor colour;
};

// Code to record, in code order. Built once, read-only afterwards.
const QMap<int, StatusMessage>& StatusMessages();
// Device type (DEV_TYPE 0..3) to display name.
const QMap<int, QString>& DeviceTypeNames();

// The record of a code; an unknown code gives an empty text and an invalid colour.
StatusMessage LookupStatus(int code);
// The name of a device type; empty outside 0..3.
QString DeviceTypeName(int devType);
// The code's text with up to three values substituted in order; a
// placeholder with no value stays as written.
QString FormatStatus(int code, const QVariantList& args);
