// Marks a static method the library calls back. Hosts that compile ahead of
// time (IL2CPP) generate the native entry for such methods and recognise the
// attribute by its name alone, so this local definition serves them as well as
// their own.
using System;

namespace Murmex
{
    [AttributeUsage(AttributeTargets.Method)]
    internal sealed class MonoPInvokeCallbackAttribute : Attribute
    {
        public MonoPInvokeCallbackAttribute(Type delegateType)
        {
            DelegateType = delegateType;
        }

        public Type DelegateType { get; private set; }
    }
}
