// The callback attribute as the engine's own assembly declares it, public in
// namespace AOT: the Unity package's sources must compile beside it.
namespace AOT
{
    public class MonoPInvokeCallbackAttribute : System.Attribute
    {
        public MonoPInvokeCallbackAttribute(System.Type t) {}
    }
}
