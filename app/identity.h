#ifndef IDENTITY_H
#define IDENTITY_H

/// Sets the application's name, version, organisation name and domain, in
/// that order. Must run before the application object is constructed.
void setApplicationIdentity();

#endif // IDENTITY_H
