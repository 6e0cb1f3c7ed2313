// Materials of the animated sample props (data\anim\props\). The cloth is seen from
// both sides; the pole's material casts the prop's stencil shadow (its box is the
// prop's shadow mesh).

props/flag_pole
{
	surfaceparm castshadow
	{
		map textures/props/flag_pole
		rgbgen identity
	}
}

props/flag_cloth
{
	cull none
	{
		map textures/props/flag_cloth
		rgbgen identity
	}
}
