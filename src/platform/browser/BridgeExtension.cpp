#include "platform/browser/BridgeExtension.h"

#include "platform/browser/ExtensionId.h"

QString BridgeExtension::publicKey()
{
    return QStringLiteral(
        "MIIBIjANBgkqhkiG9w0BAQEFAAOCAQ8AMIIBCgKCAQEAkUqRIH+kRzncqWTXOR5sPTJ+XN40NxwrhKToXtEI7kBePiK+kQjM27di"
        "/72zkMYglJnhgafWBEF+/JgaOeNyuOwsmE7nAT0lh2VvNZqJje87AQeLoZM0fi8e1GuMuWV8XD/C+Gx6cS5fs4knTbs0ZjgX/4ab"
        "ar3mpSGn+40P3bpwJmYw+3n3S8TMCYI4GXDBrA9QiG9F2bZvOpYuwAWDthLziRlNdX70I9bonNzLr6w5ALeHBpb03UkJDWkIQj28"
        "sonA4LphG0SQ3SDf5QvLUgA21KMrD10DhFTfc8lEO3du7GYKHOIRukY7bubQTUXT2wB7QPjrL5gge3JqfC1RRQIDAQAB");
}

QString BridgeExtension::chromiumId()
{
    return ExtensionId::fromManifestKey(publicKey());
}

QString BridgeExtension::chromiumOrigin()
{
    return QStringLiteral("chrome-extension://%1/").arg(chromiumId());
}
